#include "app/game.h"

void Game::restart() {
    destroyedCount = 0;
    started = false;
    // The first ball stays; it keeps its place and velocity until the next launch.
    while (balls.size() > 1)
        balls.pop_back();
    buildBrickGrid();
}
