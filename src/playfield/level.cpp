#include "app/game.h"
#include "app/world.h"
#include "playfield/layout.h"

#include <cstdlib>

namespace {
const char* const kBackgroundPath = "assets/space.png";
constexpr float kPaddleOutline = -5.f;  // inside the paddle's edge
const sf::Vector2f kFirstBallStart(300.f, kBallRestY);
const sf::Vector2f kTimerPosition(10.f, 10.f);
constexpr unsigned kTimerSize = 60;
constexpr int kOneInSpecial = 5;

// Toughest at the top: 9 hits on rows 0 and 1, down to 2 on row 14.
int hitsForRow(int row) { return (kGridRows - row) / 2 + 2; }

bool opaque(const sf::Image& image) {
    const sf::Uint8* rgba = image.getPixelsPtr();
    const std::size_t bytes = std::size_t{4} * image.getSize().x * image.getSize().y;
    for (std::size_t alpha = 3; alpha < bytes; alpha += 4)
        if (rgba[alpha] != 255)
            return false;
    return true;
}
}  // namespace

void Game::initLevel() {
    // Without the image an empty texture would paint the world white and hide the
    // white ball; black shows the cleared window instead.
    sf::Image image;
    if (image.loadFromFile(kBackgroundPath) && backgroundTexture.loadFromImage(image))
        backgroundOpaque = opaque(image);
    else
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
            slot = std::make_unique<Brick>();
            slot->setup(col, row, special, *font, hitsForRow(row));
        }
    }
}
