#include "app/assets.h"
#include "app/game.h"
#include "app/world.h"

namespace {
const char* const kTitle = "Vornaxi";
constexpr unsigned kRequestedWidth = 800;
constexpr unsigned kRequestedHeight = 600;
}  // namespace

void Game::initWindow() {
    // Fullscreen picks the real size; the world stays 1920 by 1080 regardless.
    videoMode.width = kRequestedWidth;
    videoMode.height = kRequestedHeight;
    window = std::make_unique<sf::RenderWindow>(videoMode, kTitle, sf::Style::Fullscreen,
                                                sf::ContextSettings());
    font = std::make_unique<sf::Font>();
    // A missing font is reported by SFML; the texts then go without one (fontLoaded).
    font->loadFromFile(kFontPath);
    // No frame-rate limit of SFML's: it sleeps out the rest of each frame and loses every
    // sleep's overshoot, running the timer slow. The loop keeps its own pace (FramePacer).
}
