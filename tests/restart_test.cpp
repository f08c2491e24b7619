#include "game_test.h"

#include <cstdlib>

class Restart : public GameTest {
protected:
    // One 1-hit brick left and the ball about to strike it: the 300th to fall.
    void lastBrickAboutToFall() {
        clearWall();
        putBrick(5, 5, 1);
        game.destroyedCount = 299;
        game.started = true;
        placeBall(0, 528.f, 255.f, {0.f, 10.f});
    }
};

TEST_F(Restart, ClearedWallRestartsOnTheNextUnpausedFrame) {
    lastBrickAboutToFall();
    game.update();
    EXPECT_EQ(game.destroyedCount, 300u);
    EXPECT_TRUE(game.started) << "not in the frame of the last hit";

    script().events.push_back(keyPress(sf::Keyboard::P));
    script().events.push_back(keyRelease(sf::Keyboard::P));
    frames(5);
    EXPECT_EQ(bricksStanding(), 0) << "the restart waits while paused";

    script().events.push_back(keyPress(sf::Keyboard::P));
    script().mouse = {400, 0};
    game.update();
    EXPECT_FALSE(game.paused);
    EXPECT_FALSE(game.started);
    EXPECT_EQ(game.destroyedCount, 0u);
    EXPECT_EQ(bricksStanding(), 300);
    EXPECT_EQ(game.paddle.getPosition().x, 400.f) << "the paddle moves before the restart";
}

TEST_F(Restart, RemovesBonusBallsAndKeepsWhatItDoesNotOwn) {
    script().events.push_back(mousePress());
    frames(30);
    for (int i = 0; i < 3; ++i)
        game.spawnBonusBall();
    game.hitBrick(0, 0);
    const sf::Vector2f position = game.balls[0].shape.getPosition();
    const sf::Vector2f velocity = game.balls[0].velocity;
    const std::int32_t count = game.frameCount;

    script().events.push_back(keyPress(sf::Keyboard::R));
    game.update();
    ASSERT_EQ(game.balls.size(), 1u);
    EXPECT_EQ(game.balls[0].type, BallType::White);
    EXPECT_EQ(game.balls[0].shape.getPosition(), position) << "the frame ends: the ball is not moved";
    EXPECT_EQ(game.balls[0].velocity, velocity);
    EXPECT_EQ(game.frameCount, count + 1) << "counted before the restart, kept after it";
    EXPECT_FALSE(game.started);
    EXPECT_EQ(brickAt(0, 0)->hits, 9);

    script().events.push_back(keyRelease(sf::Keyboard::R));
    frames(10);
    EXPECT_EQ(timer(), "0:0:50") << "the last time stays shown";
    EXPECT_EQ(game.balls[0].shape.getPosition(), sf::Vector2f(960.f, 980.f)) << "back on the paddle";
}

TEST_F(Restart, StoredRebuildsTheWallOnEveryUnpausedFrame) {
    script().events.push_back(keyPress(sf::Keyboard::R));
    std::srand(21);
    frames(3);
    EXPECT_TRUE(nextDrawIs(21, 900)) << "three walls of 300 draws";
    const std::vector<int> draws = drawsAfterSeed(21, 900);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(brickAt(i % 20, i / 20)->special, draws[600 + i] % 5 == 0) << "third wall, brick " << i;
}

TEST_F(Restart, BeforeLaunchRebuildsTheWallAndLeavesTheBallOnThePaddle) {
    script().mouse = {500, 0};
    frames(2);
    game.hitBrick(3, 3);
    script().events.push_back(keyPress(sf::Keyboard::R));
    script().events.push_back(keyRelease(sf::Keyboard::R));
    frames(2);
    EXPECT_FALSE(game.started);
    EXPECT_EQ(brickAt(3, 3)->hits, 8);
    EXPECT_EQ(game.balls[0].shape.getPosition(), sf::Vector2f(500.f, 980.f));
}

TEST_F(Restart, StoredMousePressLaunchesAgainRightAfterARestart) {
    script().events.push_back(mousePress());
    frames(20);
    game.destroyedCount = 300;
    game.update();
    ASSERT_FALSE(game.started);
    game.update();
    EXPECT_TRUE(game.started);
    EXPECT_EQ(game.frameCount, 0);
    EXPECT_EQ(game.balls[0].velocity, scaleToBallSpeed(1.f, 10.f));
}
