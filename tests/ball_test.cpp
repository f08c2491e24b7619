#include "app/ball.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Balls, ScalingKeepsTheDirectionAtSpeedTen) {
    const struct {
        float dx, dy, vx, vy;
    } cases[] = {
        {1.f, 10.f, 0.99503720f, 9.95037174f},  // the launch
        {0.f, -30.f, 0.f, -10.f},               // paddle centre: straight up
        {85.f, -30.f, 9.430f, -3.328f},         // either end of the paddle's reach
        {-85.f, -30.f, -9.430f, -3.328f},
    };
    for (const auto& c : cases) {
        const sf::Vector2f v = scaleToBallSpeed(c.dx, c.dy);
        EXPECT_NEAR(v.x, c.vx, 1e-3f) << "direction (" << c.dx << ", " << c.dy << ")";
        EXPECT_NEAR(v.y, c.vy, 1e-3f) << "direction (" << c.dx << ", " << c.dy << ")";
        EXPECT_NEAR(std::hypot(v.x, v.y), 10.f, 1e-5f);
    }
    EXPECT_EQ(scaleToBallSpeed(1.f, 10.f), sf::Vector2f(0.99503720f, 9.95037174f)) << "launch, to the bit";
}
