#include "app/screen.h"

#include "app/web/canvas.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstdio>

// The game's screen is the page's canvas, which the page sizes: the window is made at its size
// in device pixels and follows it as the browser's window, or its zoom, changes.
namespace {
sf::RenderWindow* shown = nullptr;

sf::Vector2u canvasPixels() {
    double width = 0., height = 0.;
    emscripten_get_element_css_size(kCanvas, &width, &height);
    const double ratio = emscripten_get_device_pixel_ratio();
    return {static_cast<unsigned>(std::lround(width * ratio)), static_cast<unsigned>(std::lround(height * ratio))};
}

class GameWindow final : public sf::RenderWindow {
public:
    using sf::RenderWindow::RenderWindow;
    ~GameWindow() override { shown = nullptr; }
};
}  // namespace

std::unique_ptr<sf::RenderWindow> openFullscreen(const char* title, sf::VideoMode& mode) {
    const sf::Vector2u size = canvasPixels();
    mode = sf::VideoMode(size.x, size.y, 24);
    auto window = std::make_unique<GameWindow>(mode, title);
    shown = window.get();
    return window;
}

void followDesktop() {
    if (!shown || !shown->isOpen())
        return;
    const sf::Vector2u size = canvasPixels();
    if (size.x > 0 && size.y > 0 && size != shown->getSize())
        shown->setSize(size);
}

// A page is not told its display's refresh; its animation frames keep the pace instead
// (FrameCadence).
double monitorRefresh() { return 0.; }

// No swap control: the browser puts up what a frame drew at the display's next refresh.
SwapSeam windowSwaps(sf::RenderWindow& window) {
    return SwapSeam{
        [](int) { return false; },
        [&window](bool) { window.display(); },
        [](const char* line) { std::fprintf(stderr, "Vornaxi: %s\n", line); },
    };
}
