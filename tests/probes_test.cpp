#include "gameplay/probes.h"
#include "game_test.h"

#include <cstdlib>

TEST(Probes, CellAtFindsCellsInsideTheWallsStrictEdges) {
    const struct {
        int px, py, col, row;
    } cases[] = {
        {0, 300, -1, -1},   {1, 300, 0, 6},     {1919, 549, 19, 14}, {1920, 300, -1, -1},
        {500, 100, -1, -1}, {500, 101, 5, 0},   {500, 550, -1, -1},  {95, 129, 0, 0},
        {96, 130, 1, 1},    {-5, 300, -1, -1},  {500, 9999, -1, -1}, {959, 325, 9, 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cellAt(c.px, c.py), std::make_pair(c.col, c.row)) << "point (" << c.px << ", " << c.py << ")";
}

TEST_F(GameTest, EachProbeTurnsTheBallAwayFromTheBrickItFinds) {
    // One brick at column 5, row 5: x 480 to 576, y 250 to 280.
    const struct {
        const char* probe;
        sf::Vector2f centre, velocity, after;
    } cases[] = {
        {"left probe turns ball right", {585.f, 265.f}, {-3.f, 2.f}, {3.f, 2.f}},
        {"right probe turns ball left", {470.f, 265.f}, {3.f, 2.f}, {-3.f, 2.f}},
        {"top probe turns ball down", {500.f, 289.f}, {1.f, -3.f}, {1.f, 3.f}},
        {"bottom probe turns ball up", {500.f, 241.f}, {1.f, 3.f}, {1.f, -3.f}},
        {"reflection by sign only", {585.f, 265.f}, {3.f, 2.f}, {3.f, 2.f}},
    };
    for (const auto& c : cases) {
        clearWall();
        putBrick(5, 5, 7);
        placeBall(0, c.centre.x, c.centre.y, c.velocity);
        game.probeBricks(0);
        EXPECT_EQ(game.balls[0].velocity, c.after) << c.probe;
        EXPECT_EQ(brickAt(5, 5)->hits, 6) << c.probe << ": one contact";
    }
}

TEST_F(GameTest, BlueBallPassesThroughButEveryProbeReportsTheContact) {
    clearWall();
    putBrick(5, 5, 7);
    Ball blue = makeBall(BallType::Blue);
    blue.shape.setPosition(528.f, 265.f);  // all four probes inside the brick
    blue.velocity = {3.f, 3.f};
    game.balls.push_back(blue);
    std::srand(5);
    game.probeBricks(1);
    EXPECT_EQ(game.balls[1].velocity, sf::Vector2f(3.f, 3.f));
    EXPECT_TRUE(nextDrawIs(5, 4)) << "one draw per contact, four contacts";
}

TEST_F(GameTest, BallInsideASurvivingBrickHandsItOverFourTimes) {
    clearWall();
    putBrick(5, 5, 7);
    placeBall(0, 528.f, 265.f, {3.f, 3.f});
    game.probeBricks(0);
    EXPECT_EQ(brickAt(5, 5)->hits, 3);
    EXPECT_EQ(game.balls[0].velocity, sf::Vector2f(-3.f, -3.f)) << "right and bottom act last";
}

TEST_F(GameTest, BrickDestroyedByAnEarlierProbeIsGoneForTheLaterOnes) {
    clearWall();
    putBrick(5, 5, 2);
    placeBall(0, 528.f, 265.f, {3.f, 3.f});
    game.probeBricks(0);
    EXPECT_EQ(brickAt(5, 5), nullptr);
    EXPECT_EQ(game.destroyedCount, 1u);
    EXPECT_EQ(game.balls[0].velocity, sf::Vector2f(-3.f, 3.f)) << "only left and right found it";
}

TEST_F(GameTest, ProbePointsComeFromTheCentreTruncatedTowardZero) {
    const struct {
        const char* what;
        sf::Vector2f centre;
        int contacts;
    } cases[] = {
        {"y 110.9 truncates to 110: top probe on the wall's edge", {500.9f, 110.9f}, 3},
        {"y 111: top probe in row 0", {500.f, 111.f}, 4},
        {"x 10: left probe on the wall's edge, the others in column 0", {10.f, 115.f}, 3},
        {"x -0.5 truncates to 0: only the right probe is inside", {-0.5f, 115.f}, 1},
    };
    for (const auto& c : cases) {
        clearWall();
        putBrick(5, 0, 9);
        putBrick(0, 0, 9);
        placeBall(0, c.centre.x, c.centre.y, {1.f, -1.f});
        game.probeBricks(0);
        EXPECT_EQ(18 - brickAt(5, 0)->hits - brickAt(0, 0)->hits, c.contacts) << c.what;
    }
}

TEST_F(GameTest, BallFallenFarBeyondAnyIntegerFindsNothing) {
    for (float y : {3.0e9f, 1.0e30f, -3.0e9f}) {
        placeBall(0, 500.f, y, {1.f, 10.f});
        game.probeBricks(0);
        EXPECT_EQ(bricksStanding(), 300) << "centre y " << y;
    }
}
