#pragma once

#include "support.h"

#include <gtest/gtest.h>

#include <string>

// Replays the same seed to learn what the game's next draws will be.
std::vector<int> drawsAfterSeed(unsigned seed, int count);
// Whether exactly `index` draws were taken since seeding with `seed`.
::testing::AssertionResult nextDrawIs(unsigned seed, int index);

// A game with its level built and a scripted window; no real window is opened.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Brick* brickAt(int col, int row) { return game.bricks[slotIndex(col, row)].get(); }
    int bricksStanding() const;
    void clearWall();
    void putBrick(int col, int row, int hits, bool special = false);  // in place of any other
    std::vector<int> hitsLeft() const;  // by slot, 0 for an empty one
    void placeBall(std::size_t index, float x, float y, sf::Vector2f velocity);
    void frames(int count);
    std::string timer() const { return game.timerText.getString().toAnsiString(); }

    Game game{};
};
