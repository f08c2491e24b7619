#include "app/game.h"
#include "playfield/layout.h"

#include <cstdlib>

namespace {
constexpr int kBonusTypes = 4;  // Yellow to Red; never White
}

void Game::hitBrick(int col, int row) {
    // Cells off the wall are ignored rather than read outside the grid.
    if (!insideGrid(col, row))
        return;
    auto& slot = bricks[slotIndex(col, row)];
    if (!slot || slot->hit() != 0)
        return;
    if (slot->special)
        spawnBonusBall();
    ++destroyedCount;
    slot.reset();
}

void Game::spawnBonusBall() {
    const auto type = static_cast<BallType>(std::rand() % kBonusTypes + 1);
    balls.push_back(makeBall(type));
    Ball& bonus = balls.back();
    bonus.shape.setPosition(paddle.getPosition().x, kBallRestY);
    bonus.velocity = scaleToBallSpeed(kLaunchDirectionX, kLaunchDirectionY);
}
