#pragma once

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>

// The value doubles as the ball's colour; only the first ball is White.
enum class BallType : std::int32_t { White = 0, Yellow = 1, Blue = 2, Green = 3, Red = 4 };

constexpr float kBallRadius = 10.f;
// Down and slightly right: the first ball's launch and every bonus ball.
constexpr float kLaunchDirectionX = 1.f;
constexpr float kLaunchDirectionY = 10.f;

struct Ball {
    BallType type;
    sf::CircleShape shape;  // origin at its centre, so its position is the ball's centre
    sf::Vector2f velocity;  // world units per frame
};

// A ball of the given type at rest at the world's origin.
Ball makeBall(BallType type);

sf::Color ballColor(BallType type);

// The direction (dx, dy) stretched to the one ball speed. Callers never pass (0, 0).
sf::Vector2f scaleToBallSpeed(float dx, float dy);
