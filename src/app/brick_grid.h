#pragma once

#include <SFML/Graphics/Rect.hpp>

#include <array>
#include <memory>

struct Brick;

// The wall: 20 columns of 15 rows, each cell 96 by 30, from y 100 down to y 550.
constexpr int kGridColumns = 20;
constexpr int kGridRows = 15;
constexpr int kBrickCount = kGridColumns * kGridRows;
constexpr int kCellWidth = 96;
constexpr int kCellHeight = 30;
constexpr int kGridTop = 100;

// Owning slots, stored column by column; an empty slot holds no brick.
using BrickGrid = std::array<std::unique_ptr<Brick>, kBrickCount>;

constexpr bool insideGrid(int col, int row) {
    return col >= 0 && col < kGridColumns && row >= 0 && row < kGridRows;
}

constexpr int slotIndex(int col, int row) { return col * kGridRows + row; }

// Where the cell at (col, row) lies in the world.
inline sf::FloatRect cellRect(int col, int row) {
    return {static_cast<float>(col * kCellWidth), static_cast<float>(kGridTop + row * kCellHeight),
            static_cast<float>(kCellWidth), static_cast<float>(kCellHeight)};
}
