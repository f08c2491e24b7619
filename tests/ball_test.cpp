#include "app/ball.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Balls, LaunchDirectionGivesTheFixedLaunchVelocity) {
    const sf::Vector2f v = scaleToBallSpeed(kLaunchDirectionX, kLaunchDirectionY);
    EXPECT_FLOAT_EQ(v.x, 0.99503720f);
    EXPECT_FLOAT_EQ(v.y, 9.95037174f);
}

TEST(Balls, ScaledVelocityKeepsDirectionAtSpeedTen) {
    const struct {
        float dx, dy, vx, vy;
    } cases[] = {
        {0.f, -30.f, 0.f, -10.f},        // paddle centre: straight up
        {85.f, -30.f, 9.430f, -3.328f},  // right end of the paddle's reach
        {-85.f, -30.f, -9.430f, -3.328f},
    };
    for (const auto& c : cases) {
        const sf::Vector2f v = scaleToBallSpeed(c.dx, c.dy);
        EXPECT_NEAR(v.x, c.vx, 1e-3f) << "direction (" << c.dx << ", " << c.dy << ")";
        EXPECT_NEAR(v.y, c.vy, 1e-3f) << "direction (" << c.dx << ", " << c.dy << ")";
        EXPECT_NEAR(std::hypot(v.x, v.y), 10.f, 1e-5f);
    }
}

TEST(Balls, EachTypeHasItsColourAndRadiusTenAroundItsCentre) {
    const struct {
        BallType type;
        sf::Color color;
    } cases[] = {
        {BallType::White, sf::Color::White}, {BallType::Yellow, sf::Color::Yellow},
        {BallType::Blue, sf::Color::Blue},   {BallType::Green, sf::Color::Green},
        {BallType::Red, sf::Color::Red},
    };
    for (const auto& c : cases) {
        const Ball ball = makeBall(c.type);
        const int type = static_cast<int>(c.type);
        EXPECT_EQ(ball.shape.getFillColor(), c.color) << "type " << type;
        EXPECT_EQ(ball.shape.getRadius(), 10.f) << "type " << type;
        EXPECT_EQ(ball.shape.getPointCount(), 30u) << "type " << type;
        EXPECT_EQ(ball.shape.getOrigin(), sf::Vector2f(10.f, 10.f)) << "type " << type;
        EXPECT_EQ(ball.velocity, sf::Vector2f(0.f, 0.f)) << "type " << type;
    }
}
