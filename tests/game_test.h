#pragma once

#include "support.h"

#include <gtest/gtest.h>

#include <string>

// Replays the same seed to learn what the game's next draws will be.
std::vector<int> drawsAfterSeed(unsigned seed, int count);
// Whether the generator's next draw is draw number `index` after seeding with `seed`;
// that is, whether exactly `index` draws were taken since.
::testing::AssertionResult nextDrawIs(unsigned seed, int index);

// A game with its level built and a scripted window; no real window is opened.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Brick* brickAt(int col, int row) { return game.bricks[slotIndex(col, row)].get(); }
    int bricksStanding() const;
    void clearWall();
    Brick& putBrick(int col, int row, int hits, bool special = false);  // in place of any other
    std::vector<int> hitsLeft() const;  // by slot, 0 for an empty one
    // Places a moving ball of the given type and velocity at (x, y).
    Ball& placeBall(std::size_t index, float x, float y, sf::Vector2f velocity = {0.f, 0.f});
    void frames(int count);
    std::string timer() const { return game.timerText.getString().toAnsiString(); }

    Game game{};
};
