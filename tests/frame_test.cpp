#include "game_test.h"
#include "gameplay/update.h"

#include <limits>

TEST_F(GameTest, TimerCountsFramesFromTheLaunchAndStopsAtItsMaximum) {
    // Each count's last frame of a second, where rounding the hundredths goes wrong first.
    const std::pair<std::int32_t, const char*> readings[] = {
        {0, "0:0:0"}, {1, "0:0:1"}, {59, "0:0:98"}, {61, "0:1:1"}, {3599, "0:59:98"}, {3600, "1:0:0"},
    };
    for (const auto& [frame, text] : readings)
        EXPECT_EQ(timerString(frame), text) << "frame " << frame;
    frames(10);
    script().events.push_back(mousePress());
    frames(63);
    EXPECT_EQ(timer(), "0:1:3") << "minutes, seconds and hundredths, unpadded, from the launch";
    game.frameCount = std::numeric_limits<std::int32_t>::max() - 1;
    frames(3);
    EXPECT_EQ(timer(), "596523:14:11") << "stops at the top instead of overflowing";
}

// The pointer sends hundreds of events a second; keys, clicks and close requests behind
// them act in the very next frame, each in a frame of its own and in order.
TEST_F(GameTest, IgnoredEventsNeverHoldBackTheOnesTheGameActsOn) {
    const auto queue = [](std::initializer_list<sf::Event> acted) {
        sf::Event wheel{}, joystick{};
        wheel.type = sf::Event::MouseWheelScrolled;
        joystick.type = sf::Event::JoystickMoved;
        for (std::size_t a = 0; a <= acted.size(); ++a) {
            for (int i = 0; i < 500; ++i)
                for (const sf::Event& e : {mouseMove(i, 500), keyRelease(sf::Keyboard::P), wheel, joystick})
                    script().events.push_back(e);
            if (a < acted.size())
                script().events.push_back(acted.begin()[a]);
        }
    };
    queue({keyPress(sf::Keyboard::P)});
    game.update();
    EXPECT_TRUE(game.paused) << "P waited behind 2,000 ignored events";
    EXPECT_EQ(timer(), "| |") << "the pause mark in the timer's place";
    game.update();
    EXPECT_TRUE(game.paused) << "the events after P replace it, so it does not flip again";
    EXPECT_TRUE(script().events.empty());
    EXPECT_EQ(game.event.type, sf::Event::JoystickMoved) << "the last event taken is the stored one";

    queue({keyPress(sf::Keyboard::P), mousePress(), keyPress(sf::Keyboard::R), closed(),
           keyPress(sf::Keyboard::Escape)});
    game.update();
    EXPECT_FALSE(game.paused);
    game.update();
    EXPECT_TRUE(game.started) << "the click launched";
    game.update();
    EXPECT_FALSE(game.started) << "R restarted";
    EXPECT_EQ(script().closes, 0);
    frames(2);
    EXPECT_EQ(script().closes, 2) << "the close request and Escape, a frame each";
}

// Not in the frame of the last hit, nor while paused; the paddle moves first, and the
// frame ends there.
TEST_F(GameTest, ClearedWallRestartsOnTheNextUnpausedFrameKeepingOnlyTheFirstBall) {
    clearWall();
    putBrick(5, 5, 1);
    game.destroyedCount = 299;
    game.started = true;
    placeBall(0, 528.f, 255.f, {0.f, 10.f});
    for (int i = 0; i < 3; ++i)
        game.spawnBonusBall();
    game.update();
    for (const sf::Event& e : {keyPress(sf::Keyboard::P), keyRelease(sf::Keyboard::P)})
        script().events.push_back(e);
    frames(3);
    EXPECT_EQ(bricksStanding(), 0);
    for (const sf::Event& e : {keyPress(sf::Keyboard::P), keyRelease(sf::Keyboard::P)})
        script().events.push_back(e);
    script().mouse = {400, 0};
    game.update();
    EXPECT_EQ(game.paddle.getPosition().x, 400.f);
    EXPECT_EQ(game.destroyedCount, 0u);
    EXPECT_EQ(bricksStanding(), 300);
    ASSERT_EQ(game.balls.size(), 1u);
    EXPECT_EQ(game.balls[0].shape.getPosition(), sf::Vector2f(528.f, 265.f)) << "not moved in the restart frame";
    frames(2);
    EXPECT_EQ(game.balls[0].shape.getPosition(), sf::Vector2f(400.f, 980.f)) << "back on the paddle";
    EXPECT_EQ(timer(), "0:0:3") << "the last time stays shown until the launch";
}
