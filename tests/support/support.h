#pragma once

// What the tests and the benchmarks share: a scripted window, events, the game's font,
// and a player's steering. No test framework here, so the benchmarks can link it too.
#include "app/game.h"

#include <deque>
#include <memory>

// What the scripted window hands to the frame, in place of the real one.
struct Script {
    std::deque<sf::Event> events;  // delivered front first
    sf::Vector2i mouse{960, 500};
    sf::Vector2u windowSize{1920, 1080};
    int closes = 0;
};

Script& script();
// A fresh script, and the frame reading it instead of a window.
void useScriptedWindow();

sf::Event keyPress(sf::Keyboard::Key key);
sf::Event keyRelease(sf::Keyboard::Key key);
sf::Event mousePress();
sf::Event mouseMove(int x, int y);
sf::Event closed();

// The game's own font, from the repository root the tests and benchmarks run in;
// fontLoaded() on it tells whether it was found.
std::unique_ptr<sf::Font> loadGameFont();

// A player's mouse x: under where the lowest falling ball will reach the paddle,
// plus an offset that sets the angle it leaves at.
int mouseUnderFallingBall(const Game& game, int offset);
