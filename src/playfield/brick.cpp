#include "playfield/brick.h"

#include "app/brick_grid.h"
#include "app/world.h"

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

    const float x = static_cast<float>(col) * kWorldWidth / static_cast<float>(kGridColumns);
    const float y = static_cast<float>(row) * static_cast<float>(kCellHeight) + static_cast<float>(kGridTop);

    label.setPosition(x + kLabelInset, y);
    label.setFillColor(kLabelColor);
    label.setCharacterSize(kLabelSize);
    label.setString(std::to_string(hits));

    shape.setPosition(x, y);
    shape.setSize(sf::Vector2f(static_cast<float>(kCellWidth), static_cast<float>(kCellHeight)));
    shape.setFillColor(kFreshFill);
    shape.setOutlineColor(special ? kSpecialOutline : sf::Color::Black);
    shape.setOutlineThickness(kOutlineThickness);
}

std::int32_t Brick::hit() {
    --hits;
    shape.setFillColor(sf::Color(0, 0, static_cast<sf::Uint8>(hits * kBluePerHit), 255));
    label.setString(std::to_string(hits));
    return hits;
}
