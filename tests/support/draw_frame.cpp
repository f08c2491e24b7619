#include "draw_frame.h"

#include "app/game.h"

void drawFrame(const Game& game, sf::RenderTarget& target) {
    target.draw(game.background);
    target.draw(game.timerText);
    target.draw(game.paddle);
    for (int row = 0; row < kGridRows; ++row) {
        for (int col = 0; col < kGridColumns; ++col) {
            if (const auto& brick = game.bricks[slotIndex(col, row)]) {
                target.draw(brick->shape);
                target.draw(brick->label);
            }
        }
    }
    for (const Ball& ball : game.balls)
        target.draw(ball.shape);
}
