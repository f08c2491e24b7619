#include "game_test.h"

#include <cstdlib>

TEST_F(GameTest, LevelStartsWithOneWhiteBallAtRestAndAFullWall) {
    ASSERT_EQ(game.balls.size(), 1u);
    EXPECT_EQ(game.balls[0].type, BallType::White);
    EXPECT_EQ(game.balls[0].shape.getFillColor(), sf::Color::White);
    EXPECT_EQ(game.balls[0].shape.getPosition(), sf::Vector2f(300.f, 980.f));
    EXPECT_EQ(bricksStanding(), 300);
    EXPECT_EQ(game.background.getTexture(), &game.backgroundTexture);
    EXPECT_EQ(game.backgroundTexture.getSize(), sf::Vector2u(1920, 1080));
    EXPECT_EQ(game.background.getFillColor(), sf::Color::White) << "the image shown as painted";
    EXPECT_EQ(game.timerText.getFont(), game.font.get());
}

TEST_F(GameTest, WallIsToughestAtTheTop) {
    const int hitsByRow[15] = {9, 9, 8, 8, 7, 7, 6, 6, 5, 5, 4, 4, 3, 3, 2};
    for (int row = 0; row < 15; ++row)
        for (int col = 0; col < 20; ++col)
            ASSERT_EQ(brickAt(col, row)->hits, hitsByRow[row]) << "cell " << col << "," << row;
}

TEST_F(GameTest, SpecialBricksFollowTheRowMajorDraws) {
    const std::vector<int> draws = drawsAfterSeed(77, 300);
    std::srand(77);
    game.buildBrickGrid();
    int specials = 0;
    for (int i = 0; i < 300; ++i) {
        const int row = i / 20, col = i % 20;
        const bool expected = draws[i] % 5 == 0;
        specials += expected;
        ASSERT_EQ(brickAt(col, row)->special, expected) << "cell " << col << "," << row << ", draw " << i;
    }
    EXPECT_GT(specials, 30) << "about one brick in five is special";
    EXPECT_LT(specials, 90);
    EXPECT_TRUE(nextDrawIs(77, 300)) << "exactly 300 draws";
}

TEST_F(GameTest, RebuildingADamagedWallLeavesExactlyThreeHundredFreshBricks) {
    game.hitBrick(0, 0);
    game.hitBrick(0, 14);
    game.hitBrick(0, 14);
    ASSERT_EQ(bricksStanding(), 299);
    game.buildBrickGrid();
    EXPECT_EQ(bricksStanding(), 300);
    EXPECT_EQ(brickAt(0, 0)->hits, 9);
    EXPECT_EQ(brickAt(0, 14)->hits, 2);
}
