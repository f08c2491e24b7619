#include "game_test.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {
// The first seed whose draws, taken one by one, satisfy the predicate on their index and value.
template <typename Pred>
unsigned seedWhere(Pred pred, int draws) {
    for (unsigned seed = 1;; ++seed) {
        const std::vector<int> d = drawsAfterSeed(seed, draws);
        if (pred(d))
            return seed;
    }
}

// How many draws a Red burst takes: up to and including the first multiple of ten.
int burstLength(const std::vector<int>& draws, std::size_t from = 0) {
    for (std::size_t i = from; i < draws.size(); ++i)
        if (draws[i] % 10 == 0)
            return static_cast<int>(i - from) + 1;
    return -1;
}
}  // namespace

TEST_F(GameTest, EachContactHitsItsPatternOnceOnAFullWall) {
    using Cells = std::set<std::pair<int, int>>;
    const struct {
        BallType type;
        int col, row;
        Cells hit;
    } cases[] = {
        {BallType::White, 4, 4, {{4, 4}}},
        {BallType::Yellow, 0, 0, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}, {1, 1}}},
        {BallType::Yellow, 1, 1,
         {{1, 1}, {0, 1}, {1, 0}, {2, 1}, {3, 1}, {1, 2}, {1, 3}, {0, 0}, {0, 2}, {2, 0}, {2, 2}}},
        {BallType::Yellow, 19, 14, {{19, 14}, {18, 14}, {17, 14}, {19, 13}, {19, 12}, {18, 13}}},
        {BallType::Yellow, 10, 7,
         {{10, 7}, {9, 7}, {8, 7}, {10, 6}, {10, 5}, {11, 7}, {12, 7}, {10, 8}, {10, 9},
          {9, 6}, {9, 8}, {11, 6}, {11, 8}}},
    };
    for (const auto& c : cases) {
        game.buildBrickGrid();
        const std::vector<int> before = hitsLeft();
        game.onBrickContact(c.col, c.row, c.type);
        const std::vector<int> after = hitsLeft();
        for (int col = 0; col < 20; ++col)
            for (int row = 0; row < 15; ++row) {
                const int expected = c.hit.count({col, row}) ? 1 : 0;
                EXPECT_EQ(before[slotIndex(col, row)] - after[slotIndex(col, row)], expected)
                    << "type " << static_cast<int>(c.type) << " at " << c.col << "," << c.row
                    << ": hits on cell " << col << "," << row;
            }
    }
}

TEST_F(GameTest, GreenSweepsRowAndColumnWithThirtyFourHits) {
    const std::vector<int> before = hitsLeft();
    game.onBrickContact(7, 9, BallType::Green);
    const std::vector<int> after = hitsLeft();
    int total = 0;
    for (int col = 0; col < 20; ++col)
        for (int row = 0; row < 15; ++row) {
            const int taken = before[slotIndex(col, row)] - after[slotIndex(col, row)];
            total += taken;
            EXPECT_EQ(taken, col == 7 || row == 9 ? 1 : 0) << "cell " << col << "," << row;
        }
    EXPECT_EQ(total, 34);
}

TEST_F(GameTest, BlueHitsOnlyWhenItsDrawIsAMultipleOfTen) {
    for (const bool lucky : {false, true}) {
        const unsigned seed = seedWhere([&](const auto& d) { return (d[0] % 10 == 0) == lucky; }, 1);
        putBrick(2, 2, 9);
        std::srand(seed);
        game.onBrickContact(2, 2, BallType::Blue);
        EXPECT_EQ(brickAt(2, 2)->hits, lucky ? 8 : 9) << "seed " << seed;
        EXPECT_TRUE(nextDrawIs(seed, 1)) << "one draw per contact";
    }
}

TEST_F(GameTest, RedBurstHitsUntilADrawIsAMultipleOfTen) {
    // A long burst on a 9-hit brick, and one that outlasts a 2-hit brick.
    const unsigned seed = seedWhere([](const auto& d) { return burstLength(d) == 5; }, 12);
    putBrick(2, 2, 9);
    std::srand(seed);
    game.onBrickContact(2, 2, BallType::Red);
    EXPECT_EQ(brickAt(2, 2)->hits, 4) << "five hits";
    EXPECT_TRUE(nextDrawIs(seed, 5)) << "five draws";

    putBrick(2, 14, 2);
    std::srand(seed);
    game.onBrickContact(2, 14, BallType::Red);
    EXPECT_EQ(brickAt(2, 14), nullptr);
    EXPECT_TRUE(nextDrawIs(seed, 5)) << "the burst draws on after the brick is gone";
}

TEST_F(GameTest, ContactDrawsInterleaveWithBonusBallDraws) {
    // Red: the destroying first hit draws the bonus type, then the burst draws.
    const unsigned redSeed = seedWhere([](const auto& d) { return burstLength(d, 1) == 3; }, 12);
    putBrick(1, 1, 1, true);
    std::srand(redSeed);
    game.onBrickContact(1, 1, BallType::Red);
    EXPECT_TRUE(nextDrawIs(redSeed, 4)) << "one bonus draw and three burst draws";
    ASSERT_EQ(game.balls.size(), 2u);
    EXPECT_EQ(static_cast<int>(game.balls[1].type), drawsAfterSeed(redSeed, 1)[0] % 4 + 1);

    // Blue: the contact's own draw, then the bonus type.
    const unsigned blueSeed = seedWhere([](const auto& d) { return d[0] % 10 == 0; }, 1);
    putBrick(1, 1, 1, true);
    std::srand(blueSeed);
    game.onBrickContact(1, 1, BallType::Blue);
    ASSERT_EQ(game.balls.size(), 3u);
    EXPECT_EQ(static_cast<int>(game.balls[2].type), drawsAfterSeed(blueSeed, 2)[1] % 4 + 1);
}

TEST_F(GameTest, SpecialBricksDestroyedByOneSweepReleaseBallsInHitOrder) {
    const struct {
        BallType type;
        int col, row;
        std::vector<std::pair<int, int>> specials;  // in the order they are hit
    } cases[] = {
        {BallType::Green, 10, 3, {{2, 3}, {7, 3}, {15, 3}, {10, 0}, {10, 12}}},
        {BallType::Yellow, 10, 3, {{10, 3}, {8, 3}, {10, 1}, {12, 3}, {9, 4}, {11, 2}}},
    };
    for (const auto& c : cases) {
        game.balls.resize(1);
        game.buildBrickGrid();
        for (auto& slot : game.bricks)
            slot->special = false;
        for (const auto& [col, row] : c.specials)
            putBrick(col, row, 1, true);
        std::srand(42);
        game.onBrickContact(c.col, c.row, c.type);
        const std::vector<int> d = drawsAfterSeed(42, static_cast<int>(c.specials.size()));
        ASSERT_EQ(game.balls.size(), c.specials.size() + 1) << "type " << static_cast<int>(c.type);
        for (std::size_t i = 0; i < c.specials.size(); ++i)
            EXPECT_EQ(static_cast<int>(game.balls[i + 1].type), d[i] % 4 + 1)
                << "type " << static_cast<int>(c.type) << ", bonus ball " << i;
    }
}
