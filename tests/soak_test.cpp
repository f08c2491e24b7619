#include "game_test.h"

#include <climits>
#include <cmath>
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

TEST_F(GameTest, MillionRandomFramesKeepTheRules) {
    std::mt19937 rng(20261206);
    std::srand(20261206);
    long restarts = 0, pausedFrames = 0;
    bool seenType[5] = {};
    for (long frame = 0; frame < 1000000; ++frame) {
        if (rng() % 25 == 0)
            script().events.push_back(randomEvent(rng));
        const int extremes[] = {INT_MIN, INT_MIN + 1, INT_MAX, 0, -1, 1919, 1920};
        // Mostly under the falling ball, so play goes on.
        script().mouse = {rng() % 20 == 0 ? extremes[rng() % 7] : mouseUnderFallingBall(game, int(rng() % 101) - 50),
                          static_cast<int>(rng() % 3000) - 1000};
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
        restarts += wasStarted && !game.started;
        pausedFrames += game.paused;
    }
    for (int type = 0; type < 5; ++type)
        EXPECT_TRUE(seenType[type]) << "no ball of type " << type << " in the whole soak";
    EXPECT_GT(restarts, 100) << "the soak hardly played";
    EXPECT_GT(pausedFrames, 1000) << "the soak hardly paused";
}
