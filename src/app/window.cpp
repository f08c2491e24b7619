#include "app/assets.h"
#include "app/game.h"
#include "app/world.h"

namespace {
const char* const kTitle = "Vornaxi";
}  // namespace

void Game::initWindow() {
    // The desktop's own mode of the primary monitor: fullscreen at any other mode would switch
    // the monitor (and on X, where the switch does not fit the screen, end the process). The
    // world stays 1920 by 1080 whatever the size; the fit fills the window.
    videoMode = sf::VideoMode::getDesktopMode();
    window = std::make_unique<sf::RenderWindow>(videoMode, kTitle, sf::Style::Fullscreen,
                                                sf::ContextSettings());
    font = std::make_unique<sf::Font>();
    // A missing font is reported by SFML; the texts then go without one (fontLoaded).
    font->loadFromFile(kFontPath);
    // No frame-rate limit of SFML's: it sleeps out the rest of each frame and loses every
    // sleep's overshoot, running the timer slow. The loop keeps its own pace (FramePacer).
}
