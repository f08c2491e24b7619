#include "app/world.h"
#include "game_test.h"

#include <cmath>
#include <limits>

// The pointer is read through the fit of the world into the window: at 1920x1080 a
// pixel is a world unit; elsewhere the world is scaled whole and centred.
TEST_F(GameTest, PaddleFollowsThePointerThroughTheFittedWorld) {
    constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
    const struct {
        sf::Vector2u window;
        int mouseX;
        float paddleX;
    } cases[] = {
        {{1920, 1080}, kMin, 85.f}, {{1920, 1080}, -40, 85.f}, {{1920, 1080}, 84, 85.f}, {{1920, 1080}, 85, 85.f},
        {{1920, 1080}, 701, 701.f}, {{1920, 1080}, 1835, 1835.f}, {{1920, 1080}, 1836, 1835.f},
        {{1920, 1080}, kMax, 1835.f}, {{1366, 768}, 683, 960.70329f},  // 1365 pixels wide, from pixel 0
        {{1280, 1024}, 640, 960.f}, {{1280, 1024}, 1279, 1835.f},       // bands above and below
        {{3840, 2160}, 3, 85.f}, {{3840, 2160}, 1203, 601.5f},
        {{2560, 1080}, 320, 85.f}, {{2560, 1080}, 1281, 961.f}, {{2560, 1080}, 2239, 1835.f},  // bands at the sides
        {{2560, 1080}, kMin, 85.f},
    };
    for (const auto& c : cases) {
        script().windowSize = c.window;
        script().mouse = {c.mouseX, 123456};
        game.update();
        EXPECT_EQ(game.paddle.getPosition(), sf::Vector2f(c.paddleX, 1000.f))
            << "pointer x " << c.mouseX << " in a " << c.window.x << "x" << c.window.y << " window";
        EXPECT_EQ(game.mousePosition, script().mouse) << "the window position is what is kept";
    }
}

TEST(WorldFit, FillsTheLargestCentredAreaOfTheWorldsShape) {
    const struct {
        sf::Vector2u window;
        sf::IntRect area;
    } cases[] = {
        {{1920, 1080}, {0, 0, 1920, 1080}}, {{1366, 768}, {0, 0, 1365, 768}},   {{1280, 1024}, {0, 152, 1280, 720}},
        {{1920, 1200}, {0, 60, 1920, 1080}}, {{3840, 2160}, {0, 0, 3840, 2160}}, {{2560, 1080}, {320, 0, 1920, 1080}},
        {{800, 600}, {0, 75, 800, 450}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(worldArea(c.window), c.area) << c.window.x << "x" << c.window.y;
        const sf::FloatRect v = fittedView(c.window).getViewport();
        const auto px = [](float fraction, unsigned size) { return static_cast<int>(std::lround(fraction * size)); };
        EXPECT_EQ(sf::IntRect(px(v.left, c.window.x), px(v.top, c.window.y), px(v.width, c.window.x),
                              px(v.height, c.window.y)), c.area)
            << "the view shows the world elsewhere in a " << c.window.x << "x" << c.window.y << " window";
    }
}

TEST_F(GameTest, LaunchSendsTheFirstBallDownFromThePaddle) {
    game.frameCount = 500;  // left over from an earlier game
    script().mouse = {640, 0};
    script().events.push_back(mousePress());
    game.update();
    EXPECT_EQ(game.frameCount, 0);
    EXPECT_EQ(game.balls[0].velocity, scaleToBallSpeed(1.f, 10.f));
    EXPECT_EQ(game.balls[0].shape.getPosition(), sf::Vector2f(640.f, 980.f)) << "no move in the launch frame";
    game.update();
    EXPECT_FLOAT_EQ(game.balls[0].shape.getPosition().x, 640.f + 0.99503720f);
    EXPECT_LT(game.balls[0].velocity.y, 0.f) << "into the paddle band, bounced up";
}

TEST_F(GameTest, WallsTurnBallsOnlyPastTheirEdge) {
    game.started = true;
    script().mouse = {1835, 0};  // the paddle reaches from 1750 to 1920
    const struct {
        const char* what;
        sf::Vector2f start, velocity, after;
    } cases[] = {
        {"left, past", {12.f, 700.f}, {-3.f, 1.f}, {3.f, 1.f}},
        {"left, exactly at 10", {13.f, 700.f}, {-3.f, 1.f}, {-3.f, 1.f}},
        {"right, past", {1908.f, 700.f}, {3.f, 1.f}, {-3.f, 1.f}},
        {"right, exactly at 1910", {1907.f, 700.f}, {3.f, 1.f}, {3.f, 1.f}},
        {"top, past", {500.f, 12.f}, {1.f, -3.f}, {1.f, 3.f}},
        {"top, exactly at 10", {500.f, 13.f}, {1.f, -3.f}, {1.f, -3.f}},
        {"corner", {12.f, 12.f}, {-3.f, -3.f}, {3.f, 3.f}},
        {"bottom: no wall, a missed ball falls for ever", {500.f, 1075.f}, {1.f, 3.f}, {1.f, 3.f}},
        {"the paddle's bounce replaces the wall's", {1909.f, 984.f}, {3.f, 1.f}, scaleToBallSpeed(77.f, -30.f)},
    };
    for (const auto& c : cases) {
        placeBall(0, c.start.x, c.start.y, c.velocity);
        game.update();
        EXPECT_EQ(game.balls[0].velocity, c.after) << c.what;
    }
}

TEST_F(GameTest, PaddleBandAndReachAreInclusive) {
    game.started = true;
    script().mouse = {1000, 0};
    const struct {
        float x, y;  // centre after the move
        float vy;
        bool bounced;
    } cases[] = {
        {1000.f, 980.f, 1.f, true},   {1000.f, 990.f, 1.f, true},   {1000.f, 979.5f, 1.f, false},
        {1000.f, 990.5f, 1.f, false}, {915.f, 985.f, 1.f, true},    {1085.f, 985.f, 1.f, true},
        {914.5f, 985.f, 1.f, false},  {1085.5f, 985.f, 1.f, false}, {1010.f, 987.f, -8.f, true},
    };
    for (const auto& c : cases) {
        placeBall(0, c.x, c.y - c.vy, {0.f, c.vy});
        game.update();
        const sf::Vector2f expected = c.bounced ? scaleToBallSpeed(c.x - 1000.f, -30.f) : sf::Vector2f(0.f, c.vy);
        EXPECT_EQ(game.balls[0].velocity, expected) << "centre (" << c.x << ", " << c.y << ") moving " << c.vy;
    }
}
