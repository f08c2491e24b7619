#include "gameplay/update.h"

#include "app/game.h"
#include "app/window_seam.h"
#include "app/world.h"

#include <limits>

namespace {
constexpr std::int32_t kSecondsPerMinute = 60;
constexpr std::int32_t kFramesPerMinute = kSecondsPerMinute * kFramesPerSecond;
const char* const kPauseMark = "| |";

bool isKeyPress(const sf::Event& event, sf::Keyboard::Key key) {
    return event.type == sf::Event::KeyPressed && event.key.code == key;
}

bool actsOn(const sf::Event& event) {
    return event.type == sf::Event::Closed || event.type == sf::Event::MouseButtonPressed ||
           isKeyPress(event, sf::Keyboard::Escape) || isKeyPress(event, sf::Keyboard::P) ||
           isKeyPress(event, sf::Keyboard::R);
}

// One event a frame would leave keys seconds behind a moving mouse, which sends
// hundreds a second: pass over those the game ignores while others wait. Every event
// it acts on still gets a frame of its own.
bool takeEvent(sf::RenderWindow* window, sf::Event& event) {
    if (!windowSeam().pollEvent(window, event))
        return false;
    sf::Event next;
    while (!actsOn(event) && windowSeam().pollEvent(window, next))
        event = next;
    return true;
}
}  // namespace

std::string timerString(std::int32_t f) {
    const std::int32_t minutes = f / kFramesPerMinute;
    const std::int32_t seconds = (f % kFramesPerMinute) / kFramesPerSecond;
    const std::int32_t hundredths = ((f % kFramesPerSecond) * 100) / kFramesPerSecond;
    return std::to_string(minutes) + ":" + std::to_string(seconds) + ":" + std::to_string(hundredths);
}

void Game::update() {
    const bool delivered = takeEvent(window.get(), event);
    // Only a fresh event closes; the zero event at start also reads as Closed.
    if (delivered && (event.type == sf::Event::Closed || isKeyPress(event, sf::Keyboard::Escape)))
        windowSeam().close(window.get());

    // The stored event acts again on every frame until another replaces it.
    if (isKeyPress(event, sf::Keyboard::P))
        paused = !paused;
    if (paused) {
        timerText.setString(kPauseMark);
        return;
    }

    // Stops at the top instead of overflowing, after some 414 days of play.
    if (started && frameCount < std::numeric_limits<std::int32_t>::max())
        ++frameCount;
    timerText.setString(timerString(frameCount));

    updatePaddle();
    if (isKeyPress(event, sf::Keyboard::R) || destroyedCount == static_cast<std::uint32_t>(kBrickCount)) {
        restart();
        return;
    }
    if (!started)
        waitForLaunch();
    else
        moveBalls();
}
