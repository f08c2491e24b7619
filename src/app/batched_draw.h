#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/Transform.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <SFML/System/String.hpp>

#include <vector>

struct Brick;
struct Game;

// Draws the picture of drawFrame pixel for pixel, onto a target cleared black. What does
// not change from frame to frame (the background, the wall and its labels) is kept in a
// layer the target's size, drawn anew only when it would look different, and copied
// whole each frame; then the timer, the paddle and the balls. Where the platform cannot
// copy it, the wall is drawn each frame in two draw calls instead of three per brick, and
// the background only where no brick hides it, copied from a picture of it kept at the
// target's size, or the world's where that samples alike.
// Keep one for the life of the window: its storage, reserved once, serves every frame.
struct BatchedDraw {
    BatchedDraw();  // reserves room for the busiest frame the wall can make
    void draw(const Game& game, sf::RenderTarget& target);
    void drawWall(const Game& game, sf::RenderTarget& target);
    void drawVertices(sf::RenderTarget& target, const sf::Texture* glyphs);

    // Around the wall: the background where cells are empty, and each run of bricks
    // outlined alike, painted whole in its outline colour.
    void appendAroundTheWall(const Game& game);
    // Each body inside its outline, and its label; returns the labels' glyph texture.
    const sf::Texture* appendBodiesAndLabels(const Game& game);
    const sf::Texture* appendBodyAndLabel(const Brick& brick, int col, int row);

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
    bool keepBackground(const Game& game, const sf::RenderTarget& target);  // true: drawn anew

    // The layer, and what it shows of each cell: drawn whole when the background, the fit
    // or the target's size changes, then only the cells that changed.
    bool copiesLayer = true;  // cleared for good where the platform cannot copy it
    sf::RenderTexture layer;
    struct CellLook {
        bool brick = false;
        sf::Color fill, outline, labelColor;
        float outlineThickness = 0.f;
        const sf::Font* font = nullptr;
        sf::String label;  // a brick's place and sizes follow from its cell
        bool operator==(const CellLook& o) const {
            return brick == o.brick && fill == o.fill && outline == o.outline && labelColor == o.labelColor &&
                   outlineThickness == o.outlineThickness && font == o.font && label == o.label;
        }
    };
    std::vector<CellLook> layerCells;  // empty until the layer is drawn whole
    bool updateLayer(const Game& game, const sf::RenderTarget& target, bool backgroundRedrawn);
    const sf::Texture* appendChangedCells(const Game& game);  // returns the labels' glyph texture
};
