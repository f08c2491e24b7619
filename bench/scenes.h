#pragma once

#include "app/game.h"
#include "support.h"

// The game states the benchmarks measure, each made the same on every run.

// The game's own window, opened by Game::initWindow as the game opens it, so whatever
// changes how the window is made shows in the figures; the frame reads a still mouse
// mid-screen, and the window's own events are drained unread.
sf::RenderWindow& openBenchWindow(Game& owner);

// CPU time the whole process has used, all its threads (the renderer runs several).
double processCpuSeconds();

// Font, level and a wall drawn from the seed; needs the repository root as working directory.
void setUpGame(Game& game, unsigned seed);

// Launches `count` balls, the first ball among them, spread over the whole world, so
// some are inside the wall.
void spreadBalls(Game& game, int count);

// Launches `count` balls of every type, the first ball among them, that cross the
// world side to side below the wall, never touching a brick: the wall stays as it is
// frame after frame.
void sweepBalls(Game& game, int count);

// Takes away half the bricks and damages half of those left, as the seed picks.
void destroyHalfTheWall(Game& game, unsigned seed);
