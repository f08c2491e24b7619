#include "app/assets.h"
#include "app/game.h"
#include "app/screen.h"

namespace {
const char* const kTitle = "Vornaxi";
}  // namespace

void Game::initWindow() {
    // Fullscreen at the monitor's own mode, whatever its size: the world stays 1920 by 1080
    // and the fit fills the window.
    window = openFullscreen(kTitle, videoMode);
    font = std::make_unique<sf::Font>();
    // A missing font is reported by SFML; the texts then go without one (fontLoaded).
    font->loadFromFile(kFontPath);
    // No frame-rate limit of SFML's: it sleeps out the rest of each frame and loses every
    // sleep's overshoot, running the timer slow. The loop keeps its own pace (FramePacer).
}
