#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/Transform.hpp>
#include <SFML/Graphics/Vertex.hpp>

#include <vector>

struct Game;

// Draws the picture of drawFrame pixel for pixel, with the wall in two draw calls
// instead of three per brick, and the background only where no brick hides it, copied
// from a picture of it kept at the target's size, or the world's where that samples alike.
// Keep one for the life of the window: its storage, reserved once, serves every frame.
struct BatchedDraw {
    BatchedDraw();  // reserves room for the busiest frame the wall can make
    void draw(const Game& game, sf::RenderTarget& target);

    // Around the wall: the background where cells are empty, and each run of bricks
    // outlined alike, painted whole in its outline colour.
    void appendAroundTheWall(const Game& game);
    // Each body inside its outline, and its label; returns the labels' glyph texture.
    const sf::Texture* appendBodiesAndLabels(const Game& game);

    std::vector<sf::Vertex> backdrop;  // background where no brick covers it
    std::vector<sf::Vertex> bricks;    // runs of outlined cells, then every body
    std::vector<sf::Vertex> labels;    // every label's glyph quads

    // The background drawn whole over the cleared target, as drawFrame draws it, and
    // what it was drawn for: drawn anew when any of that changes. The game loads its
    // image once; one loaded again in place would need keptFor cleared.
    struct KeptFor {
        sf::Vector2u size;
        sf::IntRect area;
        const sf::Texture* texture = nullptr;
        sf::IntRect textureRect;
        sf::Color color;
        bool operator==(const KeptFor& o) const {
            return size == o.size && area == o.area && texture == o.texture && textureRect == o.textureRect &&
                   color == o.color;
        }
    };
    sf::RenderTexture keptBackground;
    KeptFor keptFor;
    sf::Transform toKeptPixels;  // world points to the kept picture's texels
    void keepBackground(const Game& game, const sf::RenderTarget& target);
};
