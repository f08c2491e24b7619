#include "game_test.h"

#include <cstdlib>

TEST_F(GameTest, SeededGameIsPlayedToTheLastBrickAndRestartsByItself) {
    std::srand(2026);
    game.buildBrickGrid();
    script().events.push_back(mousePress());
    script().events.push_back(mouseMove(0, 0));

    constexpr long kFrameLimit = 400000;
    bool cleared = false;
    std::size_t mostBalls = 0;
    long frame = 0;
    for (; frame < kFrameLimit; ++frame) {
        // Off-centre by a changing amount, so the ball sweeps the wall.
        script().mouse = {mouseUnderFallingBall(game, static_cast<int>((frame / 97) % 9 - 4) * 17), 900};
        const bool wasCleared = game.destroyedCount == 300;
        game.update();

        ASSERT_FALSE(game.balls.empty());
        ASSERT_EQ(game.balls[0].type, BallType::White) << "frame " << frame;
        ASSERT_EQ(static_cast<int>(game.destroyedCount), 300 - bricksStanding()) << "frame " << frame;
        mostBalls = std::max(mostBalls, game.balls.size());
        if (wasCleared) {
            cleared = true;
            break;
        }
    }
    ASSERT_TRUE(cleared) << "wall not cleared in " << kFrameLimit << " frames; "
                         << game.destroyedCount << " bricks down";
    EXPECT_FALSE(game.started) << "waiting for the next launch";
    EXPECT_EQ(game.balls.size(), 1u);
    EXPECT_EQ(bricksStanding(), 300);
    EXPECT_GT(mostBalls, 10u) << "bonus balls joined the game";
}
