#pragma once

#include "app/game.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

// What the scripted window hands to the frame, in place of the real one.
struct Script {
    std::deque<sf::Event> events;  // delivered one per frame, front first
    sf::Vector2i mouse{960, 500};
    sf::Vector2u windowSize{1920, 1080};
    int closes = 0;
};

Script& script();

sf::Event keyPress(sf::Keyboard::Key key);
sf::Event keyRelease(sf::Keyboard::Key key);
sf::Event mousePress();
sf::Event mouseMove(int x, int y);
sf::Event closed();

// Replays the same seed to learn what the game's next draws will be.
std::vector<int> drawsAfterSeed(unsigned seed, int count);
// Whether the generator's next draw is draw number `index` after seeding with `seed`;
// that is, whether exactly `index` draws were taken since.
::testing::AssertionResult nextDrawIs(unsigned seed, int index);

// The game's own font, loaded from the source tree the tests run in.
std::unique_ptr<sf::Font> loadGameFont();

// Builds the level from a directory without fonts/ and assets/.
void initLevelWithoutAssets(Game& game);

// A player's mouse x: under where the lowest falling ball will reach the paddle,
// plus an offset that sets the angle it leaves at.
int mouseUnderFallingBall(const Game& game, int offset);

// A game with its level built and a scripted window; no real window is opened.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Brick* brickAt(int col, int row) { return game.bricks[slotIndex(col, row)].get(); }
    int bricksStanding() const;
    void clearWall();
    Brick& putBrick(int col, int row, int hits, bool special = false);
    std::vector<int> hitsLeft() const;  // by slot, 0 for an empty one
    // Places a moving ball of the given type and velocity at (x, y).
    Ball& placeBall(std::size_t index, float x, float y, sf::Vector2f velocity = {0.f, 0.f});
    void frames(int count);
    std::string timer() const { return game.timerText.getString().toAnsiString(); }

    Game game{};
};
