#include "app/game.h"
#include "app/window_seam.h"
#include "app/world.h"
#include "playfield/layout.h"

#include <cmath>

namespace {
constexpr float kPaddleHalfWidth = kPaddleWidth / 2.f;
constexpr float kPaddleMinX = kPaddleHalfWidth;
constexpr float kPaddleMaxX = kWorldWidth - kPaddleHalfWidth;
constexpr float kPaddleTop = kPaddleY - kPaddleHeight / 2.f;
// The paddle sends a ball up, steeper the nearer the centre it lands.
constexpr float kBounceUp = -30.f;
}  // namespace

void Game::updatePaddle() {
    mousePosition = windowSeam().mousePosition(window.get());
    float x = pointerToWorldX(mousePosition.x, windowSeam().size(window.get()));
    if (x < kPaddleMinX)
        x = kPaddleMinX;
    else if (x > kPaddleMaxX)
        x = kPaddleMaxX;
    paddle.setPosition(x, kPaddleY);
}

void Game::waitForLaunch() {
    if (event.type == sf::Event::MouseButtonPressed) {
        frameCount = 0;
        balls[0].velocity = scaleToBallSpeed(kLaunchDirectionX, kLaunchDirectionY);
        started = true;
    }
    balls[0].shape.setPosition(paddle.getPosition().x, kBallRestY);
}

void Game::moveBalls() {
    // Balls appended while walking (bonus balls) wait for the next frame.
    const std::size_t count = balls.size();
    for (std::size_t i = 0; i < count; ++i) {
        {
            // The reference ends before the probes, which may grow the array.
            Ball& ball = balls[i];
            ball.shape.move(ball.velocity);
            const sf::Vector2f pos = ball.shape.getPosition();
            sf::Vector2f& v = ball.velocity;
            if (pos.x < kBallRadius)
                v.x = std::fabs(v.x);
            if (pos.x > kWorldWidth - kBallRadius)
                v.x = -std::fabs(v.x);
            if (pos.y < kBallRadius)
                v.y = std::fabs(v.y);

            const float p = paddle.getPosition().x;
            if (pos.y + kBallRadius >= kPaddleTop && pos.y <= kPaddleTop &&
                pos.x >= p - kPaddleHalfWidth && pos.x <= p + kPaddleHalfWidth)
                v = scaleToBallSpeed(pos.x - p, kBounceUp);
        }
        probeBricks(i);
    }
}
