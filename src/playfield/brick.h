#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

#include <cstdint>
#include <memory>

// Whether the font was loaded. SFML still draws a dot for each character of a text
// whose font failed to load, so such texts are given no font and draw nothing.
bool fontLoaded(const sf::Font& font);

// One brick of the wall. Empty until setup() places and styles it.
struct Brick {
    sf::RectangleShape shape;
    std::int32_t hits = 0;  // hits it can still take; destroyed at 0
    bool special = false;   // releases a bonus ball when destroyed
    sf::Text label;         // hits, drawn over the shape

    void setup(int col, int row, bool special, const sf::Font& font, int hits);
    // Takes one hit and returns the hits left; the caller destroys the brick at 0.
    std::int32_t hit();
};

// A new brick set up for its cell: the one way bricks are made.
std::unique_ptr<Brick> makeBrick(int col, int row, bool special, const sf::Font& font, int hits);
