#include "game_test.h"

#include <climits>
#include <cstdlib>
#include <set>

namespace {
// The first seed whose first draws satisfy the predicate.
template <typename Pred>
unsigned seedWhere(Pred pred) {
    for (unsigned seed = 1;; ++seed)
        if (pred(drawsAfterSeed(seed, 12)))
            return seed;
}

// How many draws a Red burst takes: up to the first multiple of ten.
int burstLength(const std::vector<int>& draws) {
    for (std::size_t i = 0; i < draws.size(); ++i)
        if (draws[i] % 10 == 0)
            return static_cast<int>(i) + 1;
    return -1;
}

int bonusType(int draw) { return draw % 4 + 1; }
}  // namespace

TEST_F(GameTest, OnlyADestroyedSpecialBrickReleasesABonusBallOnThePaddle) {
    script().mouse = {1234, 0};
    game.update();
    putBrick(6, 14, 1);
    putBrick(3, 3, 2, true);
    std::srand(9);
    for (const auto& [col, row] : {std::pair{6, 14}, {6, 14}, {3, 3}})
        game.hitBrick(col, row);
    EXPECT_EQ(game.balls.size(), 1u) << "an ordinary or a damaged brick releases no ball";
    EXPECT_TRUE(nextDrawIs(9, 0)) << "nor draws for one";
    std::srand(9);
    game.hitBrick(3, 3);
    EXPECT_TRUE(nextDrawIs(9, 1)) << "one draw for the type";
    ASSERT_EQ(game.balls.size(), 2u);
    const Ball& bonus = game.balls.back();
    EXPECT_EQ(static_cast<int>(bonus.type), bonusType(drawsAfterSeed(9, 1)[0]));
    EXPECT_EQ(bonus.shape.getFillColor(), ballColor(bonus.type));
    EXPECT_EQ(bonus.shape.getPosition(), sf::Vector2f(1234.f, 980.f));
    EXPECT_EQ(bonus.velocity, scaleToBallSpeed(1.f, 10.f));
}

TEST_F(GameTest, CellsOffTheWallAndUnknownBallTypesAreIgnored) {
    const std::vector<int> before = hitsLeft();
    std::srand(3);
    for (const auto& [col, row] : {std::pair{-1, 0}, {20, 0}, {0, -1}, {0, 15}, {INT_MAX, INT_MIN}, {3, 3}})
        for (int type = -1; type <= 7; ++type)
            if (col != 3 || type < 0 || type > 4)
                game.onBrickContact(col, row, static_cast<BallType>(type));
    EXPECT_EQ(hitsLeft(), before);
    EXPECT_TRUE(nextDrawIs(3, 0)) << "no hit and no draw";
}

TEST_F(GameTest, EachContactHitsItsPatternOnceOnAFullWall) {
    using Cells = std::set<std::pair<int, int>>;
    Cells cross;  // Green: the contact's row and column
    for (int i = 0; i < 20; ++i)
        cross.insert({{i, 9}, {7, i % 15}});
    const struct {
        BallType type;
        int col, row;
        Cells hit;
    } cases[] = {
        {BallType::White, 4, 4, {{4, 4}}},
        {BallType::Yellow, 0, 0, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}, {1, 1}}},
        {BallType::Yellow, 19, 14, {{19, 14}, {18, 14}, {17, 14}, {19, 13}, {19, 12}, {18, 13}}},
        {BallType::Yellow, 10, 7, {{10, 7}, {9, 7}, {8, 7}, {10, 6}, {10, 5}, {11, 7}, {12, 7},
                                   {10, 8}, {10, 9}, {9, 6}, {9, 8}, {11, 6}, {11, 8}}},
        {BallType::Green, 7, 9, cross},
    };
    for (const auto& c : cases) {
        game.buildBrickGrid();
        const std::vector<int> before = hitsLeft();
        std::srand(5);
        game.onBrickContact(c.col, c.row, c.type);
        EXPECT_TRUE(nextDrawIs(5, 0)) << "type " << static_cast<int>(c.type) << ": no draw";
        const std::vector<int> after = hitsLeft();
        for (int col = 0; col < 20; ++col)
            for (int row = 0; row < 15; ++row)
                EXPECT_EQ(before[slotIndex(col, row)] - after[slotIndex(col, row)], static_cast<int>(c.hit.count({col, row})))
                    << "type " << static_cast<int>(c.type) << " at " << c.col << "," << c.row
                    << ": hits on cell " << col << "," << row;
    }
}

// Blue hits on one contact in ten; Red hits, then draws, until a draw is a multiple of
// ten, on after the brick is gone.
TEST_F(GameTest, BlueAndRedContactsHitByTheirDraws) {
    for (const bool lucky : {false, true}) {
        const unsigned seed = seedWhere([&](const auto& d) { return (d[0] % 10 == 0) == lucky; });
        putBrick(2, 2, 9);
        std::srand(seed);
        game.onBrickContact(2, 2, BallType::Blue);
        EXPECT_EQ(brickAt(2, 2)->hits, lucky ? 8 : 9) << "Blue, seed " << seed;
        EXPECT_TRUE(nextDrawIs(seed, 1)) << "Blue: one draw per contact";
    }
    const unsigned red = seedWhere([](const auto& d) { return burstLength(d) == 5; });
    for (const auto& [hits, left] : {std::pair{9, 4}, std::pair{2, 0}}) {
        putBrick(2, 2, hits);
        std::srand(red);
        game.onBrickContact(2, 2, BallType::Red);
        EXPECT_EQ(hitsLeft()[slotIndex(2, 2)], left) << "Red: five hits on a brick of " << hits;
        EXPECT_TRUE(nextDrawIs(red, 5)) << "Red: five draws on a brick of " << hits;
    }
}
