#include "app/game.h"

Game::~Game() {
    window.reset();
    for (int row = 0; row < kGridRows; ++row)
        for (int col = 0; col < kGridColumns; ++col)
            bricks[slotIndex(col, row)].reset();
    // The members go in reverse order from here on; the font, declared before every
    // text that refers to it, goes after them.
}
