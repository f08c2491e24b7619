#include "game_test.h"

#include <cstdlib>

namespace {
std::string labelOf(const Brick& b) { return b.label.getString().toAnsiString(); }
}  // namespace

TEST_F(GameTest, BrickFillsItsCellWithItsHitsAsLabel) {
    const auto b = makeBrick(19, 14, true, *game.font, 9);
    EXPECT_EQ(b->shape.getPosition(), sf::Vector2f(1824.f, 520.f)) << "the last cell";
    EXPECT_EQ(b->shape.getSize(), sf::Vector2f(96.f, 30.f));
    EXPECT_EQ(b->shape.getFillColor(), sf::Color(0, 0, 150, 255)) << "fresh fill whatever the hits";
    EXPECT_EQ(b->shape.getOutlineColor(), sf::Color(80, 0, 0, 255)) << "special bricks are outlined dark red";
    EXPECT_EQ(makeBrick(0, 0, false, *game.font, 9)->shape.getOutlineColor(), sf::Color::Black) << "others black";
    EXPECT_EQ(b->label.getPosition(), sf::Vector2f(1864.f, 520.f)) << "40 in from the cell's left";
    EXPECT_EQ(b->label.getCharacterSize(), 24u);
    EXPECT_EQ(b->label.getFillColor(), sf::Color(170, 170, 170, 255));
    EXPECT_EQ(labelOf(*b), "9");
    EXPECT_EQ(b->label.getFont(), game.font.get());
    EXPECT_EQ(makeBrick(3, 4, false, sf::Font{}, 5)->label.getFont(), nullptr)
        << "a font that failed to load is not given: SFML would draw a dot for it";
}

TEST(Bricks, HitCountsDownAndShadesBlueByHitsLeft) {
    const struct {
        int hits, left;
        sf::Uint8 blue;
    } cases[] = {{9, 8, 240}, {5, 4, 120}, {2, 1, 30}, {1, 0, 0}, {0, -1, 226}};
    for (const auto& c : cases) {
        Brick b;
        b.setup(0, 0, false, sf::Font{}, c.hits);
        EXPECT_EQ(b.hit(), c.left) << "from " << c.hits;
        EXPECT_EQ(labelOf(b), std::to_string(c.left)) << "from " << c.hits;
        EXPECT_EQ(b.shape.getFillColor(), sf::Color(0, 0, c.blue, 255)) << "from " << c.hits;
    }
}

TEST(Balls, EachTypeIsItsOwnColourRadiusTenRoundItsCentre) {
    const sf::Color colours[] = {sf::Color::White, sf::Color::Yellow, sf::Color::Blue, sf::Color::Green,
                                 sf::Color::Red};
    for (int type = 0; type < 5; ++type) {
        const Ball ball = makeBall(static_cast<BallType>(type));
        EXPECT_EQ(ball.shape.getFillColor(), colours[type]) << "type " << type;
        EXPECT_EQ(ball.shape.getRadius(), 10.f) << "type " << type;
        EXPECT_EQ(ball.shape.getPointCount(), 30u) << "type " << type;
        EXPECT_EQ(ball.shape.getOrigin(), sf::Vector2f(10.f, 10.f)) << "type " << type << ": position is the centre";
    }
}

TEST_F(GameTest, LevelStartsWithOneWhiteBallOnThePaddleAndAFullWall) {
    ASSERT_EQ(game.balls.size(), 1u);
    EXPECT_EQ(game.balls[0].type, BallType::White);
    EXPECT_EQ(game.balls[0].shape.getPosition(), sf::Vector2f(300.f, 980.f));
    EXPECT_EQ(game.paddle.getSize(), sf::Vector2f(170.f, 20.f));
    EXPECT_EQ(game.paddle.getOrigin(), sf::Vector2f(85.f, 10.f)) << "the paddle's position is its centre";
    EXPECT_EQ(game.paddle.getFillColor(), sf::Color::Red);
    EXPECT_EQ(game.paddle.getOutlineColor(), sf::Color::Yellow);
    EXPECT_EQ(game.timerText.getPosition(), sf::Vector2f(10.f, 10.f));
    EXPECT_EQ(game.timerText.getCharacterSize(), 60u);
    EXPECT_EQ(game.background.getTexture(), &game.backgroundTexture);
    EXPECT_EQ(bricksStanding(), 300);
}

// Rebuilt over a damaged wall, row by row, one draw per brick for whether it is special.
TEST_F(GameTest, EveryWallIsFreshToughestAtTheTopAndSpecialByItsDraw) {
    game.hitBrick(0, 0);
    game.hitBrick(0, 14);
    game.hitBrick(0, 14);
    ASSERT_EQ(bricksStanding(), 299) << "one hit left (0, 0) standing; two destroyed (0, 14)";
    const int hitsByRow[15] = {9, 9, 8, 8, 7, 7, 6, 6, 5, 5, 4, 4, 3, 3, 2};
    const std::vector<int> draws = drawsAfterSeed(77, 300);
    std::srand(77);
    game.buildBrickGrid();
    for (int i = 0; i < 300; ++i) {
        const Brick* b = brickAt(i % 20, i / 20);
        ASSERT_TRUE(b && b->hits == hitsByRow[i / 20] && b->special == (draws[i] % 5 == 0))
            << "cell " << i % 20 << "," << i / 20 << ": missing, wrong hits, or special against its draw";
    }
    EXPECT_TRUE(nextDrawIs(77, 300)) << "one draw per brick";
}
