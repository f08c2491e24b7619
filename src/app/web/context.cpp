// sf::Context and sf::GlResource over the canvas's one WebGL context, which is made through EGL:
// Emscripten's legacy GL emulation, which draws what sfml-graphics asks of desktop GL, sets
// itself up only for a context made that way.
#include "app/web/canvas.h"

#include <SFML/System/Err.hpp>
#include <SFML/Window/Context.hpp>
#include <SFML/Window/GlResource.hpp>

#include <EGL/egl.h>

#include <cstring>

namespace sf::priv {
// Nothing of its own: every context is the canvas's.
class GlContext {};
}  // namespace sf::priv

namespace {
sf::priv::GlContext theContext;

struct Egl {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
    bool tried = false;
};
Egl egl;

// Opaque, as the desktop's window is: glyph edges blended into a canvas with alpha would let
// the page show through them. No depth, stencil or multisampling: the game draws flat.
bool makeContext() {
    egl.display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (egl.display == EGL_NO_DISPLAY || !eglInitialize(egl.display, nullptr, nullptr))
        return false;
    const EGLint wanted[] = {EGL_RED_SIZE,   8, EGL_GREEN_SIZE,   8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 0,
                             EGL_DEPTH_SIZE, 0, EGL_STENCIL_SIZE, 0, EGL_SAMPLES,   0, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(egl.display, wanted, &config, 1, &count) || count < 1)
        return false;
    egl.surface = eglCreateWindowSurface(egl.display, config, 0, nullptr);
    const EGLint gles2[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
    egl.context = eglCreateContext(egl.display, config, EGL_NO_CONTEXT, gles2);
    return egl.surface != EGL_NO_SURFACE && egl.context != EGL_NO_CONTEXT;
}
}  // namespace

bool canvasContextCurrent() {
    if (!egl.tried) {
        egl.tried = true;
        if (!makeContext()) {
            sf::err() << "Vornaxi: the browser gives the canvas no WebGL context (EGL error " << eglGetError() << ")"
                      << std::endl;
            egl.context = EGL_NO_CONTEXT;
        }
    }
    return egl.context != EGL_NO_CONTEXT &&
           (eglGetCurrentContext() == egl.context || eglMakeCurrent(egl.display, egl.surface, egl.surface, egl.context));
}

sf::priv::GlContext* canvasContext() { return &theContext; }

namespace sf {

// The canvas's context lives as long as the page: nothing is ever cleaned up after one.
GlResource::GlResource() = default;
GlResource::~GlResource() = default;
void GlResource::registerContextDestroyCallback(ContextDestroyCallback, void*) {}
GlResource::TransientContextLock::TransientContextLock() { canvasContextCurrent(); }
GlResource::TransientContextLock::~TransientContextLock() = default;

Context::Context() : m_context(canvasContextCurrent() ? canvasContext() : nullptr) {}
Context::Context(const ContextSettings&, unsigned int, unsigned int) : Context() {}
Context::~Context() = default;

bool Context::setActive(bool active) { return m_context && (!active || canvasContextCurrent()); }

const ContextSettings& Context::getSettings() const {
    static const ContextSettings webgl(0, 0, 0, 2, 0);
    return webgl;
}

// Only what WebGL 1 and the emulation do in full: blending, edge clamping, framebuffers and
// multitexturing. Not shaders (the emulation's names for them differ from desktop GL's) nor
// textures of any size (WebGL's cannot repeat), which sfml-graphics does without.
bool Context::isExtensionAvailable(const char* name) {
    static const char* const offered[] = {
        "GL_SGIS_texture_edge_clamp",  "GL_EXT_texture_edge_clamp",      "GL_EXT_blend_subtract",
        "GL_EXT_blend_func_separate",  "GL_EXT_blend_equation_separate", "GL_EXT_framebuffer_object",
        "GL_ARB_multitexture",
    };
    for (const char* extension : offered)
        if (std::strcmp(extension, name) == 0)
            return true;
    return false;
}

GlFunctionPointer Context::getFunction(const char* name) {
    return reinterpret_cast<GlFunctionPointer>(eglGetProcAddress(name));
}

Uint64 Context::getActiveContextId() { return egl.context != EGL_NO_CONTEXT ? 1 : 0; }

}  // namespace sf
