#include "app/platform.h"

#include <emscripten/emscripten.h>

#include <cstdio>

void detachConsole() {}

namespace {
EM_JS(int, webglOffered, (), {
    return typeof WebGLRenderingContext != 'undefined' && !!Module['canvas'] ? 1 : 0;
});
}  // namespace

bool displayReachable() {
    if (webglOffered())
        return true;
    std::fprintf(stderr, "Vornaxi needs a page with a canvas in a browser that offers WebGL.\n");
    return false;
}

// A page cannot sleep without freezing its tab; the browser's animation frames pace the game.
void sleepMicros(std::int64_t) {}
