#include "game_test.h"

#include <limits>
#include <numeric>

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

// One frame of flight: the ball moves, then walls, paddle and bricks turn it. Each case
// gives the centre after the move; a brick, if any, stands alone at column 5, row 5 (x 480
// to 576, y 250 to 280); the full wall is a fresh one. The paddle reaches 85 either side.
TEST_F(GameTest, BallsTurnOffWallsPaddleAndBricksByTheirEdges) {
    constexpr int kFull = -1;
    const struct {
        const char* what;
        int mouseX, brick;  // the lone brick's hits, 0 for none, or kFull
        sf::Vector2f centre, velocity, after;
        int hits;  // taken by the wall
    } cases[] = {
        {"left wall, past", 1835, 0, {9.f, 701.f}, {-3.f, 1.f}, {3.f, 1.f}, 0},
        {"left wall, exactly at 10", 1835, 0, {10.f, 701.f}, {-3.f, 1.f}, {-3.f, 1.f}, 0},
        {"right wall, past", 1835, 0, {1911.f, 701.f}, {3.f, 1.f}, {-3.f, 1.f}, 0},
        {"right wall, exactly at 1910", 1835, 0, {1910.f, 701.f}, {3.f, 1.f}, {3.f, 1.f}, 0},
        {"top wall, past", 1835, 0, {501.f, 9.f}, {1.f, -3.f}, {1.f, 3.f}, 0},
        {"top wall, exactly at 10", 1835, 0, {501.f, 10.f}, {1.f, -3.f}, {1.f, -3.f}, 0},
        {"corner", 1835, 0, {9.f, 9.f}, {-3.f, -3.f}, {3.f, 3.f}, 0},
        {"no wall at the bottom: a missed ball falls for ever", 1835, 0, {501.f, 1078.f}, {1.f, 3.f}, {1.f, 3.f}, 0},
        {"the paddle's bounce replaces the wall's", 1835, 0, {1912.f, 985.f}, {3.f, 1.f}, scaleToBallSpeed(77.f, -30.f), 0},
        {"paddle band's top", 1000, 0, {1000.f, 980.f}, {0.f, 1.f}, scaleToBallSpeed(0.f, -30.f), 0},
        {"paddle band's bottom", 1000, 0, {1000.f, 990.f}, {0.f, 1.f}, scaleToBallSpeed(0.f, -30.f), 0},
        {"above the band", 1000, 0, {1000.f, 979.5f}, {0.f, 1.f}, {0.f, 1.f}, 0},
        {"below the band", 1000, 0, {1000.f, 990.5f}, {0.f, 1.f}, {0.f, 1.f}, 0},
        {"paddle's left end", 1000, 0, {915.f, 985.f}, {0.f, 1.f}, scaleToBallSpeed(-85.f, -30.f), 0},
        {"paddle's right end", 1000, 0, {1085.f, 985.f}, {0.f, 1.f}, scaleToBallSpeed(85.f, -30.f), 0},
        {"past the left end", 1000, 0, {914.5f, 985.f}, {0.f, 1.f}, {0.f, 1.f}, 0},
        {"past the right end", 1000, 0, {1085.5f, 985.f}, {0.f, 1.f}, {0.f, 1.f}, 0},
        {"rising through the band", 1000, 0, {1010.f, 987.f}, {0.f, -8.f}, scaleToBallSpeed(10.f, -30.f), 0},
        {"left probe turns the ball right", 0, 7, {585.f, 265.f}, {-3.f, 2.f}, {3.f, 2.f}, 1},
        {"right probe turns it left", 0, 7, {470.f, 265.f}, {3.f, 2.f}, {-3.f, 2.f}, 1},
        {"right probe on the brick's top edge", 0, 7, {470.f, 250.f}, {3.f, 2.f}, {-3.f, 2.f}, 1},
        {"right probe a unit above it, in the empty row", 0, 7, {470.f, 249.f}, {3.f, 2.f}, {3.f, 2.f}, 0},
        {"top probe turns it down", 0, 7, {500.f, 289.f}, {1.f, -3.f}, {1.f, 3.f}, 1},
        {"bottom probe turns it up", 0, 7, {500.f, 241.f}, {1.f, 3.f}, {1.f, -3.f}, 1},
        {"reflection by sign only", 0, 7, {585.f, 265.f}, {3.f, 2.f}, {3.f, 2.f}, 1},
        {"inside: all four probes, right and bottom last", 0, 7, {528.f, 265.f}, {3.f, 3.f}, {-3.f, -3.f}, 4},
        {"inside: destroyed by the right probe, gone for the others", 0, 2, {528.f, 265.f}, {3.f, 3.f}, {-3.f, 3.f}, 2},
        {"y 110.9 truncates to 110: the top probe on the wall's edge", 0, kFull, {500.9f, 110.9f}, {1.f, -1.f}, {-1.f, -1.f}, 3},
        {"y 111: the top probe in row 0", 0, kFull, {500.f, 111.f}, {1.f, -1.f}, {-1.f, -1.f}, 4},
        {"y 540: the bottom probe on the wall's edge", 0, kFull, {500.f, 540.f}, {1.f, 1.f}, {-1.f, 1.f}, 2},
        {"x 10: the left probe on the wall's edge", 0, kFull, {10.f, 115.f}, {1.f, -1.f}, {-1.f, -1.f}, 3},
        {"x 11: the left probe a unit inside", 0, kFull, {11.f, 115.f}, {1.f, -1.f}, {-1.f, -1.f}, 4},
        {"x 1910: the right probe on the wall's edge", 0, kFull, {1910.f, 115.f}, {1.f, -1.f}, {1.f, -1.f}, 3},
        {"x -0.5 truncates to 0: only the right probe inside", 0, kFull, {-0.5f, 115.f}, {1.f, -1.f}, {-1.f, -1.f}, 1},
        {"fallen beyond any int", 0, kFull, {500.f, 3.0e9f}, {1.f, 1.f}, {1.f, 1.f}, 0},
        {"far beyond any int", 0, kFull, {500.f, -1.0e30f}, {1.f, -1.f}, {1.f, 1.f}, 0},
    };
    const auto hits = [&] { const auto h = hitsLeft(); return std::accumulate(h.begin(), h.end(), 0); };
    game.started = true;
    for (const auto& c : cases) {
        if (c.brick == kFull)
            game.buildBrickGrid();
        else
            clearWall();
        if (c.brick > 0)
            putBrick(5, 5, c.brick);
        const int before = hits(), standing = bricksStanding();
        game.destroyedCount = 0;
        script().mouse = {c.mouseX, 0};
        placeBall(0, c.centre.x - c.velocity.x, c.centre.y - c.velocity.y, c.velocity);
        game.update();
        EXPECT_EQ(game.balls[0].velocity, c.after) << c.what;
        EXPECT_EQ(before - hits(), c.hits) << c.what << ": hits taken";
        EXPECT_EQ(game.destroyedCount, static_cast<unsigned>(standing - bricksStanding())) << c.what;
    }
}
