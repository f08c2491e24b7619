#pragma once

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/Vertex.hpp>

#include <vector>

struct Game;

// Draws the picture of drawFrame pixel for pixel, with the wall in two draw calls
// instead of three per brick, and the background only where no brick hides it.
// Keep one for the life of the window: its storage, reserved once, serves every frame.
struct BatchedDraw {
    BatchedDraw();  // reserves room for the busiest frame the wall can make
    void draw(const Game& game, sf::RenderTarget& target);
    // Looks once at the background image, after it is loaded or replaced: an opaque one
    // is painted without blending, which gives the same pixels for less work.
    void lookAtBackground(const sf::Texture& image);

    // Around the wall: the background where cells are empty, and each run of bricks
    // outlined alike, painted whole in its outline colour.
    void appendAroundTheWall(const Game& game);
    // Each body inside its outline, and its label; returns the labels' glyph texture.
    const sf::Texture* appendBodiesAndLabels(const Game& game);

    std::vector<sf::Vertex> backdrop;  // background where no brick covers it
    std::vector<sf::Vertex> bricks;    // runs of outlined cells, then every body
    std::vector<sf::Vertex> labels;    // every label's glyph quads
    bool backgroundOpaque = false;
};
