#include "game_test.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>

namespace {
// Events of every kind the window can deliver, weighted towards the ones the game reads.
sf::Event randomEvent(std::mt19937& rng) {
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const sf::Keyboard::Key favourite[] = {sf::Keyboard::P, sf::Keyboard::R, sf::Keyboard::Escape};
    const auto key = pick(4) == 0 ? favourite[pick(3)] : static_cast<sf::Keyboard::Key>(pick(sf::Keyboard::KeyCount + 1) - 1);
    sf::Event any{};
    any.type = static_cast<sf::Event::EventType>(pick(sf::Event::Count));
    const sf::Event events[] = {mouseMove(pick(4000) - 1000, pick(2000) - 500), mousePress(), keyPress(key),
                                keyRelease(key), closed(), any};
    const int roll = pick(100);  // 40% moves, 15% clicks, 25% presses, 10% releases, 2% closes
    return events[(roll >= 40) + (roll >= 55) + (roll >= 80) + (roll >= 90) + (roll >= 92)];
}
}  // namespace

// A seeded game steered under the falling ball is played to its last brick and the wall
// comes back by itself; then a million frames of random input and pointers keep the rules.
TEST_F(GameTest, LongPlayKeepsTheRules) {
    long frame = 0, restarts = 0, pausedFrames = 0;
    std::size_t mostBalls = 0;
    bool seenType[5] = {};
    const auto play = [&](sf::Vector2i mouse) {
        script().mouse = mouse;
        const bool wasStarted = game.started;
        game.update();
        ASSERT_EQ(game.balls[0].type, BallType::White) << "frame " << frame;
        ASSERT_EQ(static_cast<int>(game.destroyedCount), 300 - bricksStanding()) << "frame " << frame;
        for (std::size_t i = 0; i < game.balls.size(); ++i) {
            const Ball& ball = game.balls[i];
            seenType[static_cast<int>(ball.type)] = true;
            const float speed = std::hypot(ball.velocity.x, ball.velocity.y);
            if (i > 0 || speed != 0.f) {  // only the first ball rests before its launch
                ASSERT_NEAR(speed, 10.f, 1e-3f) << "frame " << frame << ", ball " << i;
            }
        }
        mostBalls = std::max(mostBalls, game.balls.size());
        restarts += wasStarted && !game.started;
        pausedFrames += game.paused;
    };

    std::srand(2026);
    game.buildBrickGrid();
    script().events.push_back(mousePress());
    for (; game.destroyedCount < 300 && frame < 400000; ++frame)  // off-centre by turns, to sweep the wall
        ASSERT_NO_FATAL_FAILURE(play({mouseUnderFallingBall(game, static_cast<int>((frame / 97) % 9 - 4) * 17), 900}));
    ASSERT_EQ(game.destroyedCount, 300u) << "wall not cleared in " << frame << " frames";
    ASSERT_NO_FATAL_FAILURE(play({960, 900}));
    EXPECT_FALSE(game.started) << "waiting for the next launch";
    EXPECT_EQ(game.balls.size(), 1u);
    EXPECT_EQ(bricksStanding(), 300);
    EXPECT_GT(mostBalls, 10u) << "bonus balls joined the game";

    std::mt19937 rng(20261206);
    const int extremes[] = {INT_MIN, INT_MIN + 1, INT_MAX, 0, -1, 1919, 1920};
    for (frame = 0, restarts = 0; frame < 1000000; ++frame) {
        if (rng() % 25 == 0)
            script().events.push_back(randomEvent(rng));
        const int x = rng() % 20 == 0 ? extremes[rng() % 7] : mouseUnderFallingBall(game, int(rng() % 101) - 50);
        ASSERT_NO_FATAL_FAILURE(play({x, static_cast<int>(rng() % 3000) - 1000}));
    }
    for (int type = 0; type < 5; ++type)
        EXPECT_TRUE(seenType[type]) << "no ball of type " << type << " in the whole play";
    EXPECT_GT(restarts, 100) << "random input hardly played";
    EXPECT_GT(pausedFrames, 1000) << "random input hardly paused";
}
