#include "app/assets.h"
#include "app/game.h"
#include "app/world.h"
#include "playfield/layout.h"

#include <cstdlib>

namespace {
constexpr float kPaddleOutline = -5.f;  // inside the paddle's edge
const sf::Vector2f kFirstBallStart(300.f, kBallRestY);
const sf::Vector2f kTimerPosition(10.f, 10.f);
constexpr unsigned kTimerSize = 60;
constexpr int kOneInSpecial = 5;

// Toughest at the top: 9 hits on rows 0 and 1, down to 2 on row 14.
int hitsForRow(int row) { return (kGridRows - row) / 2 + 2; }
}  // namespace

void Game::initLevel() {
    // Without the image an empty texture would paint the world white and hide the
    // white ball; black shows the cleared window instead.
    if (!backgroundTexture.loadFromFile(kBackgroundPath))
        background.setFillColor(sf::Color::Black);
    background.setSize(sf::Vector2f(kWorldWidth, kWorldHeight));
    background.setTexture(&backgroundTexture, false);

    paddle.setOrigin(kPaddleWidth / 2.f, kPaddleHeight / 2.f);
    paddle.setSize(sf::Vector2f(kPaddleWidth, kPaddleHeight));
    paddle.setFillColor(sf::Color::Red);
    paddle.setOutlineColor(sf::Color::Yellow);
    paddle.setOutlineThickness(kPaddleOutline);

    balls.push_back(makeBall(BallType::White));
    balls[0].shape.setPosition(kFirstBallStart);

    buildBrickGrid();

    if (fontLoaded(*font))
        timerText.setFont(*font);
    timerText.setPosition(kTimerPosition);
    timerText.setFillColor(sf::Color::White);
    timerText.setCharacterSize(kTimerSize);
}

void Game::buildBrickGrid() {
    // Row-major, one draw per brick before it is made: a seed fixes the wall.
    for (int row = 0; row < kGridRows; ++row) {
        for (int col = 0; col < kGridColumns; ++col) {
            const bool special = std::rand() % kOneInSpecial == 0;
            auto& slot = bricks[slotIndex(col, row)];
            slot.reset();
            slot = makeBrick(col, row, special, *font, hitsForRow(row));
        }
    }
}
