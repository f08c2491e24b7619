#include "app/ball.h"

#include <cmath>

namespace {
constexpr float kBallSpeed = 10.f;
constexpr std::size_t kBallPoints = 30;
}  // namespace

Ball makeBall(BallType type) {
    sf::CircleShape shape(0.f, kBallPoints);
    shape.setOrigin(kBallRadius, kBallRadius);
    shape.setRadius(kBallRadius);
    shape.setFillColor(ballColor(type));
    return Ball{type, shape, sf::Vector2f(0.f, 0.f)};
}

sf::Color ballColor(BallType type) {
    switch (type) {
    case BallType::White: return sf::Color::White;
    case BallType::Yellow: return sf::Color::Yellow;
    case BallType::Blue: return sf::Color::Blue;
    case BallType::Green: return sf::Color::Green;
    case BallType::Red: return sf::Color::Red;
    }
    return sf::Color::Transparent;
}

sf::Vector2f scaleToBallSpeed(float dx, float dy) {
    const float len = std::sqrt(dx * dx + dy * dy);
    const float k = kBallSpeed / len;
    return sf::Vector2f(k * dx, k * dy);
}
