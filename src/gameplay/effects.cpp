#include "app/game.h"

#include <cstdlib>

namespace {
// A Blue ball hits on one contact in ten; a Red burst stops on one draw in ten.
constexpr int kOneInTen = 10;

struct Offset {
    int dcol;
    int drow;
};

// Yellow's blast around the contact cell, in the order the hits land.
constexpr Offset kBlast[] = {
    {-1, 0}, {-2, 0}, {0, -1}, {0, -2}, {1, 0},  {2, 0},
    {0, 1},  {0, 2},  {-1, -1}, {-1, 1}, {1, -1}, {1, 1},
};
}  // namespace

void Game::onBrickContact(int col, int row, BallType type) {
    if (!insideGrid(col, row))
        return;
    // hitBrick passes over empty cells and cells off the wall, so the patterns
    // below need not test for either.
    switch (type) {
    case BallType::White:
        hitBrick(col, row);
        break;
    case BallType::Yellow:
        hitBrick(col, row);
        for (const Offset& o : kBlast)
            hitBrick(col + o.dcol, row + o.drow);
        break;
    case BallType::Blue:
        if (std::rand() % kOneInTen == 0)
            hitBrick(col, row);
        break;
    case BallType::Green:
        hitBrick(col, row);
        for (int c = 0; c < kGridColumns; ++c)
            if (c != col)
                hitBrick(c, row);
        for (int r = 0; r < kGridRows; ++r)
            if (r != row)
                hitBrick(col, r);
        break;
    case BallType::Red:
        do
            hitBrick(col, row);
        while (std::rand() % kOneInTen != 0);
        break;
    }
}
