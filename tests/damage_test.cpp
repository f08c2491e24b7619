#include "game_test.h"

#include <climits>
#include <cstdlib>

TEST_F(GameTest, HittingAnEmptyCellChangesNothingAndDrawsNothing) {
    clearWall();
    std::srand(9);
    game.hitBrick(4, 4);
    EXPECT_EQ(game.destroyedCount, 0u);
    EXPECT_EQ(game.balls.size(), 1u);
    EXPECT_TRUE(nextDrawIs(9, 0));
}

TEST_F(GameTest, TwoHitBrickSurvivesOneHitAndIsDestroyedByTheSecond) {
    putBrick(6, 14, 2);
    game.hitBrick(6, 14);
    ASSERT_NE(brickAt(6, 14), nullptr);
    EXPECT_EQ(brickAt(6, 14)->label.getString().toAnsiString(), "1");
    EXPECT_EQ(brickAt(6, 14)->shape.getFillColor(), sf::Color(0, 0, 30, 255));
    EXPECT_EQ(game.destroyedCount, 0u);

    std::srand(9);
    game.hitBrick(6, 14);
    EXPECT_EQ(brickAt(6, 14), nullptr);
    EXPECT_EQ(game.destroyedCount, 1u);
    EXPECT_EQ(game.balls.size(), 1u) << "an ordinary brick releases no ball";
    EXPECT_TRUE(nextDrawIs(9, 0)) << "and draws nothing";
}

TEST_F(GameTest, DestroyedSpecialBrickReleasesABonusBallOnThePaddle) {
    script().mouse = {1234, 0};
    game.update();
    game.balls[0].velocity = {-7.f, -7.f};  // the hitting ball's direction plays no part
    for (unsigned seed = 1; seed <= 8; ++seed) {
        putBrick(3, 3, 1, true);
        std::srand(seed);
        game.hitBrick(3, 3);
        const int nextDraw = std::rand();
        const std::vector<int> draws = drawsAfterSeed(seed, 2);
        EXPECT_EQ(nextDraw, draws[1]) << "seed " << seed << ": exactly one draw";
        const Ball& bonus = game.balls.back();
        EXPECT_EQ(static_cast<int>(bonus.type), draws[0] % 4 + 1) << "seed " << seed;
        EXPECT_EQ(bonus.shape.getFillColor(), ballColor(bonus.type));
        EXPECT_EQ(bonus.shape.getPosition(), sf::Vector2f(1234.f, 980.f));
        EXPECT_EQ(bonus.velocity, sf::Vector2f(0.99503720f, 9.95037174f));
    }
    EXPECT_EQ(game.balls.size(), 9u);
    EXPECT_EQ(game.balls[0].type, BallType::White);
    EXPECT_EQ(game.destroyedCount, 8u);
}

TEST_F(GameTest, CellsOffTheWallAndUnknownBallTypesAreIgnored) {
    const std::vector<int> before = hitsLeft();
    const std::pair<int, int> cells[] = {{-1, 0}, {20, 0}, {0, -1}, {0, 15}, {-3, 7}, {INT_MAX, INT_MIN}};
    std::srand(3);
    for (const auto& [col, row] : cells) {
        game.hitBrick(col, row);
        for (int type = 0; type <= 4; ++type)
            game.onBrickContact(col, row, static_cast<BallType>(type));
    }
    game.onBrickContact(3, 3, static_cast<BallType>(7));
    game.onBrickContact(3, 3, static_cast<BallType>(-1));
    EXPECT_EQ(hitsLeft(), before);
    EXPECT_TRUE(nextDrawIs(3, 0)) << "no hit and no draw";
}

TEST_F(GameTest, BonusBallWaitsForTheNextFrameToMove) {
    clearWall();
    putBrick(5, 5, 1, true);
    script().mouse = {1500, 0};
    game.started = true;
    // Two balls walked after the one that releases the bonus ball keep their state.
    placeBall(0, 528.f, 255.f, {0.f, 10.f});
    for (int i = 0; i < 40; ++i) {
        Ball extra = makeBall(BallType::White);
        extra.shape.setPosition(100.f + 10.f * i, 700.f);
        extra.velocity = {1.f, -1.f};
        game.balls.push_back(extra);
    }
    game.balls.shrink_to_fit();  // so the bonus ball moves the whole array
    game.update();
    ASSERT_EQ(game.balls.size(), 42u);
    EXPECT_EQ(game.balls.back().shape.getPosition(), sf::Vector2f(1500.f, 980.f)) << "appended, not moved";
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(game.balls[1 + i].shape.getPosition(), sf::Vector2f(101.f + 10.f * i, 699.f));
    game.update();
    const sf::Vector2f moved(1500.f + 0.99503720f, 980.f + 9.95037174f);
    EXPECT_EQ(game.balls.back().shape.getPosition(), moved);
}
