#include "framebuffer_copy.h"

#include <SFML/OpenGL.hpp>
#include <SFML/Window/Context.hpp>

namespace {
struct Blit {
    PFNGLBINDFRAMEBUFFERPROC bind;
    PFNGLBLITFRAMEBUFFERPROC blit;
};

// Looked up once, with a context current.
const Blit& blitFunctions() {
    static const Blit functions{
        reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(sf::Context::getFunction("glBindFramebuffer")),
        reinterpret_cast<PFNGLBLITFRAMEBUFFERPROC>(sf::Context::getFunction("glBlitFramebuffer"))};
    return functions;
}

GLint boundFramebuffer(GLenum which) {
    GLint bound = 0;
    glGetIntegerv(which, &bound);
    return bound;
}
}  // namespace

bool copyWhole(sf::RenderTexture& from, sf::RenderTarget& to) {
    if (from.getSize() != to.getSize() || !to.setActive(true))
        return false;
    const Blit& gl = blitFunctions();
    if (!gl.bind || !gl.blit)
        return false;
    // Each target binds its own framebuffer when made active, in the context now current.
    const GLint target = boundFramebuffer(GL_DRAW_FRAMEBUFFER_BINDING);
    const GLint source = from.setActive(true) ? boundFramebuffer(GL_READ_FRAMEBUFFER_BINDING) : 0;
    const bool copies = source != 0 && source != target;  // 0: a render texture without one
    if (copies) {
        const auto w = static_cast<GLint>(to.getSize().x), h = static_cast<GLint>(to.getSize().y);
        gl.bind(GL_READ_FRAMEBUFFER, static_cast<GLuint>(source));
        gl.bind(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(target));
        gl.blit(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    }
    to.setActive(true);  // SFML's own record of the active target, and its framebuffer bound again
    return copies;
}
