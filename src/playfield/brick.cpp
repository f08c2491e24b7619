#include "playfield/brick.h"

#include "app/brick_grid.h"

#include <string>

namespace {
constexpr float kLabelInset = 40.f;
constexpr unsigned kLabelSize = 24;
const sf::Color kLabelColor(170, 170, 170, 255);
const sf::Color kFreshFill(0, 0, 150, 255);
const sf::Color kSpecialOutline(80, 0, 0, 255);
// Negative: the outline lies inside the cell, so neighbours never overlap.
constexpr float kOutlineThickness = -2.f;
// A damaged brick's blue channel is its hits left times this, wrapped to 8 bits.
constexpr int kBluePerHit = 30;
}  // namespace

bool fontLoaded(const sf::Font& font) { return !font.getInfo().family.empty(); }

void Brick::setup(int col, int row, bool isSpecial, const sf::Font& font, int hitCount) {
    special = isSpecial;
    hits = hitCount;
    if (fontLoaded(font))
        label.setFont(font);

    const sf::FloatRect cell = cellRect(col, row);
    const float x = cell.left;
    const float y = cell.top;

    label.setPosition(x + kLabelInset, y);
    label.setFillColor(kLabelColor);
    label.setCharacterSize(kLabelSize);
    label.setString(std::to_string(hits));

    shape.setPosition(x, y);
    shape.setSize(sf::Vector2f(cell.width, cell.height));
    shape.setFillColor(kFreshFill);
    shape.setOutlineColor(special ? kSpecialOutline : sf::Color::Black);
    shape.setOutlineThickness(kOutlineThickness);
}

std::unique_ptr<Brick> makeBrick(int col, int row, bool special, const sf::Font& font, int hits) {
    auto brick = std::make_unique<Brick>();
    brick->setup(col, row, special, font, hits);
    return brick;
}

std::int32_t Brick::hit() {
    --hits;
    shape.setFillColor(sf::Color(0, 0, static_cast<sf::Uint8>(hits * kBluePerHit), 255));
    label.setString(std::to_string(hits));
    return hits;
}
