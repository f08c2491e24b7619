#include "game_test.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <random>

namespace {
// Events of every kind the window can deliver, weighted towards the ones the game reads.
sf::Event randomEvent(std::mt19937& rng) {
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    sf::Event e{};
    const int roll = pick(100);
    if (roll < 40) {
        e = mouseMove(pick(4000) - 1000, pick(2000) - 500);
    } else if (roll < 55) {
        e = mousePress();
        e.mouseButton.button = static_cast<sf::Mouse::Button>(pick(sf::Mouse::ButtonCount));
    } else if (roll < 65) {
        e.type = sf::Event::MouseButtonReleased;
    } else if (roll < 90) {
        const sf::Keyboard::Key favourite[] = {sf::Keyboard::P, sf::Keyboard::R, sf::Keyboard::Escape};
        const auto key = pick(4) == 0 ? favourite[pick(3)]
                                      : static_cast<sf::Keyboard::Key>(pick(sf::Keyboard::KeyCount + 1) - 1);
        e = pick(3) == 0 ? keyRelease(key) : keyPress(key);
    } else if (roll < 92) {
        e = closed();
    } else {
        e.type = static_cast<sf::Event::EventType>(pick(sf::Event::Count));
    }
    return e;
}

int mouseX(const Game& game, std::mt19937& rng) {
    const int extremes[] = {INT_MIN, INT_MIN + 1, -2147483647, 2147483647, 0, -1, 1919, 1920};
    if (rng() % 20 == 0)
        return extremes[rng() % 8];
    return mouseUnderFallingBall(game, static_cast<int>(rng() % 101) - 50);  // so play goes on
}
}  // namespace

TEST_F(GameTest, MillionRandomFramesKeepTheRules) {
    constexpr long kFrames = 1000000;
    std::mt19937 rng(20261206);
    std::srand(20261206);
    long restarts = 0, mostBalls = 0, pausedFrames = 0;
    bool seenType[5] = {};
    const auto start = std::chrono::steady_clock::now();

    for (long frame = 0; frame < kFrames; ++frame) {
        if (rng() % 25 == 0)
            script().events.push_back(randomEvent(rng));
        script().mouse = {mouseX(game, rng), static_cast<int>(rng() % 3000) - 1000};
        const bool wasStarted = game.started;
        game.update();

        ASSERT_EQ(game.balls[0].type, BallType::White) << "frame " << frame;
        ASSERT_EQ(static_cast<int>(game.destroyedCount), 300 - bricksStanding()) << "frame " << frame;
        for (std::size_t i = 0; i < game.balls.size(); ++i) {
            const Ball& ball = game.balls[i];
            seenType[static_cast<int>(ball.type)] = true;
            const float speed = std::hypot(ball.velocity.x, ball.velocity.y);
            if (!(i == 0 && speed == 0.f)) {  // only the first ball rests before its launch
                ASSERT_NEAR(speed, 10.f, 1e-3f) << "frame " << frame << ", ball " << i;
            }
        }
        restarts += wasStarted && !game.started;
        pausedFrames += game.paused;
        mostBalls = std::max(mostBalls, static_cast<long>(game.balls.size()));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %ld frames in %.1f s, %ld restarts from play, %ld paused frames, up to %ld balls\n",
                kFrames, seconds, restarts, pausedFrames, mostBalls);
    for (int type = 0; type < 5; ++type)
        EXPECT_TRUE(seenType[type]) << "no ball of type " << type << " in the whole soak";
    EXPECT_GT(restarts, 100);
    EXPECT_GT(pausedFrames, 1000);
}
