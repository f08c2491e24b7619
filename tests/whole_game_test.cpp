#include "game_test.h"

#include <cmath>
#include <cstdlib>

// Steered under the falling ball, off-centre by turns to sweep the wall, a seeded game is
// played to its last brick, keeping the rules on every frame, and the wall comes back.
TEST_F(GameTest, SeededGameIsPlayedToTheLastBrickAndRestartsByItself) {
    std::srand(2026);
    game.buildBrickGrid();
    script().events.push_back(mousePress());
    std::size_t mostBalls = 0;
    long frame = 0;
    for (; game.destroyedCount < 300 && frame < 400000; ++frame) {
        script().mouse = {mouseUnderFallingBall(game, static_cast<int>((frame / 97) % 9 - 4) * 17), 900};
        game.update();
        ASSERT_EQ(game.balls[0].type, BallType::White) << "frame " << frame;
        ASSERT_EQ(static_cast<int>(game.destroyedCount), 300 - bricksStanding()) << "frame " << frame;
        for (const Ball& ball : game.balls)
            ASSERT_NEAR(std::hypot(ball.velocity.x, ball.velocity.y), 10.f, 1e-3f) << "frame " << frame;
        mostBalls = std::max(mostBalls, game.balls.size());
    }
    ASSERT_EQ(game.destroyedCount, 300u) << "wall not cleared in " << frame << " frames";
    EXPECT_GT(mostBalls, 10u) << "bonus balls joined the game";
    game.update();
    EXPECT_FALSE(game.started) << "waiting for the next launch";
    EXPECT_EQ(game.balls.size(), 1u);
    EXPECT_EQ(bricksStanding(), 300);
}
