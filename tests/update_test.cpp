#include "gameplay/update.h"
#include "support.h"

#include <limits>

TEST(Timer, ShowsMinutesSecondsAndHundredthsUnpadded) {
    const struct {
        std::int32_t frames;
        const char* text;
    } cases[] = {
        {0, "0:0:0"},   {1, "0:0:1"},      {59, "0:0:98"},   {61, "0:1:1"},
        {3599, "0:59:98"}, {3600, "1:0:0"}, {60 * 3600, "60:0:0"},
        {std::numeric_limits<std::int32_t>::max(), "596523:14:11"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(timerString(c.frames), c.text) << c.frames << " frames";
}

TEST_F(GameTest, OnlyAFreshCloseRequestClosesAndTheFrameGoesOn) {
    frames(3);
    EXPECT_EQ(script().closes, 0) << "the all-zero event at start reads as Closed but was never delivered";
    for (const sf::Event& request : {closed(), keyPress(sf::Keyboard::Escape)}) {
        script().closes = 0;
        script().mouse = {700 + request.type, 0};
        script().events.push_back(request);
        frames(4);
        EXPECT_EQ(script().closes, 1) << "event type " << request.type << " closes once, when delivered";
        EXPECT_EQ(game.balls[0].shape.getPosition().x, 700.f + request.type) << "the paddle and ball still move";
    }
}

TEST_F(GameTest, StoredPauseKeyFlipsPauseOnEveryFrame) {
    script().events.push_back(keyPress(sf::Keyboard::P));
    const bool expected[] = {true, false, true, false, true};
    for (bool paused : expected) {
        game.update();
        EXPECT_EQ(game.paused, paused);
        EXPECT_EQ(timer(), paused ? "| |" : "0:0:0");
    }
    script().events.push_back(keyRelease(sf::Keyboard::P));
    frames(3);
    EXPECT_TRUE(game.paused) << "left in the state of the last flip";
}

TEST_F(GameTest, PausedFrameFreezesEverything) {
    script().events.push_back(mousePress());
    frames(5);
    ASSERT_TRUE(game.started);
    const std::int32_t count = game.frameCount;
    const sf::Vector2f ball = game.balls[0].shape.getPosition();

    script().events.push_back(keyPress(sf::Keyboard::P));
    script().events.push_back(keyRelease(sf::Keyboard::P));
    script().events.push_back(keyPress(sf::Keyboard::R));
    script().mouse = {1500, 0};
    frames(3);  // pause, then a release and an R, both seen while paused

    EXPECT_TRUE(game.paused);
    EXPECT_EQ(timer(), "| |");
    EXPECT_EQ(game.frameCount, count);
    EXPECT_EQ(game.balls[0].shape.getPosition(), ball);
    EXPECT_NE(game.paddle.getPosition().x, 1500.f);
    EXPECT_NE(game.mousePosition.x, 1500) << "the mouse is not read while paused";
    EXPECT_TRUE(game.started) << "R does not restart while paused";
}

TEST_F(GameTest, TimerStandsBeforeLaunchAndShowsOneFrameAfterIt) {
    frames(10);
    EXPECT_EQ(timer(), "0:0:0");
    script().events.push_back(mousePress());
    game.update();
    EXPECT_EQ(timer(), "0:0:0") << "the launch frame shows the old count";
    game.update();
    EXPECT_EQ(timer(), "0:0:1");
    frames(59);
    EXPECT_EQ(timer(), "0:1:0");
}

TEST_F(GameTest, FrameCounterStopsAtItsMaximum) {
    game.started = true;
    game.frameCount = std::numeric_limits<std::int32_t>::max() - 1;
    frames(3);
    EXPECT_EQ(game.frameCount, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(timer(), "596523:14:11");
}

// The pointer sends hundreds of events a second; keys, clicks and close requests behind
// them act in the very next frame, each in a frame of its own and in order.
TEST_F(GameTest, IgnoredEventsNeverHoldBackTheOnesTheGameActsOn) {
    const auto queue = [](std::initializer_list<sf::Event> acted) {
        const auto flood = [] {
            sf::Event wheel{}, joystick{};
            wheel.type = sf::Event::MouseWheelScrolled;
            joystick.type = sf::Event::JoystickMoved;
            for (int i = 0; i < 500; ++i)
                for (const sf::Event& e : {mouseMove(i, 500), keyRelease(sf::Keyboard::P), wheel, joystick})
                    script().events.push_back(e);
        };
        flood();
        for (const sf::Event& e : acted) {
            script().events.push_back(e);
            flood();
        }
    };
    queue({keyPress(sf::Keyboard::P)});
    game.update();
    EXPECT_TRUE(game.paused) << "P waited behind 2,000 ignored events";
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
