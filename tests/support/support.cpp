#include "support.h"

#include "app/assets.h"
#include "app/window_seam.h"

Script& script() {
    static Script s;
    return s;
}

void useScriptedWindow() {
    script() = Script{};
    windowSeam() = WindowSeam{
        [](sf::RenderWindow*, sf::Event& event) {
            if (script().events.empty())
                return false;
            event = script().events.front();
            script().events.pop_front();
            return true;
        },
        [](const sf::RenderWindow*) { return script().mouse; },
        [](const sf::RenderWindow*) { return script().windowSize; },
        [](sf::RenderWindow*) { ++script().closes; },
    };
}

namespace {
sf::Event event(sf::Event::EventType type, sf::Keyboard::Key key = sf::Keyboard::Unknown) {
    sf::Event e{};
    e.type = type;
    e.key.code = key;
    return e;
}
}  // namespace

sf::Event keyPress(sf::Keyboard::Key key) { return event(sf::Event::KeyPressed, key); }
sf::Event keyRelease(sf::Keyboard::Key key) { return event(sf::Event::KeyReleased, key); }
sf::Event closed() { return event(sf::Event::Closed); }

sf::Event mousePress() {
    sf::Event e = event(sf::Event::MouseButtonPressed);
    e.mouseButton.button = sf::Mouse::Left;
    return e;
}

sf::Event mouseMove(int x, int y) {
    sf::Event e = event(sf::Event::MouseMoved);
    e.mouseMove = {x, y};
    return e;
}

std::unique_ptr<sf::Font> loadGameFont() {
    auto font = std::make_unique<sf::Font>();
    font->loadFromFile(kFontPath);
    return font;
}

int mouseUnderFallingBall(const Game& game, int offset) {
    const Ball* target = nullptr;
    for (const Ball& ball : game.balls) {
        const sf::Vector2f pos = ball.shape.getPosition();
        if (ball.velocity.y > 0.f && pos.y < 990.f && (!target || pos.y > target->shape.getPosition().y))
            target = &ball;
    }
    if (!target)
        return 960 + offset;
    const sf::Vector2f pos = target->shape.getPosition();
    return static_cast<int>(pos.x + target->velocity.x * (990.f - pos.y) / target->velocity.y) + offset;
}
