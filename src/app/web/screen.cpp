#include "app/screen.h"

#include "app/web/canvas.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cmath>

// The game's screen is the page's canvas, which the page sizes: the window is made at its size
// in device pixels and follows it as the browser's window, or its zoom, changes. The frames go
// up at the browser's animation frames (main.cpp), so no refresh rate or swaps are asked here.
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
