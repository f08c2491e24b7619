#include "playfield/brick.h"

#include <gtest/gtest.h>

namespace {
sf::Font emptyFont;

std::string labelOf(const Brick& b) { return b.label.getString().toAnsiString(); }
}  // namespace

TEST(Bricks, SetupPlacesShapeAndLabelInTheirCell) {
    const struct {
        int col, row;
        sf::Vector2f shape, label;
    } cases[] = {
        {0, 0, {0.f, 100.f}, {40.f, 100.f}},
        {19, 14, {1824.f, 520.f}, {1864.f, 520.f}},
        {7, 3, {672.f, 190.f}, {712.f, 190.f}},
    };
    for (const auto& c : cases) {
        Brick b;
        b.setup(c.col, c.row, false, emptyFont, 5);
        EXPECT_EQ(b.shape.getPosition(), c.shape) << "cell " << c.col << "," << c.row;
        EXPECT_EQ(b.label.getPosition(), c.label) << "cell " << c.col << "," << c.row;
        EXPECT_EQ(b.shape.getSize(), sf::Vector2f(96.f, 30.f));
    }
}

TEST(Bricks, FreshBrickIsStyledWhateverItsHits) {
    for (const bool special : {false, true}) {
        Brick b;
        b.setup(3, 4, special, emptyFont, 9);
        EXPECT_EQ(b.hits, 9);
        EXPECT_EQ(b.special, special);
        EXPECT_EQ(labelOf(b), "9");
        EXPECT_EQ(b.label.getFont(), &emptyFont);
        EXPECT_EQ(b.label.getCharacterSize(), 24u);
        EXPECT_EQ(b.label.getFillColor(), sf::Color(170, 170, 170, 255));
        EXPECT_EQ(b.shape.getFillColor(), sf::Color(0, 0, 150, 255));
        EXPECT_EQ(b.shape.getOutlineColor(), special ? sf::Color(80, 0, 0, 255) : sf::Color::Black)
            << (special ? "special" : "ordinary") << " outline";
        EXPECT_EQ(b.shape.getOutlineThickness(), -2.f) << "outline lies inside the cell";
    }
}

TEST(Bricks, HitCountsDownAndShadesBlueByHitsLeft) {
    const struct {
        int hits;
        int left;
        sf::Uint8 blue;
    } cases[] = {{9, 8, 240}, {5, 4, 120}, {2, 1, 30}, {1, 0, 0}, {0, -1, 226}};
    for (const auto& c : cases) {
        Brick b;
        b.setup(0, 0, false, emptyFont, c.hits);
        EXPECT_EQ(b.hit(), c.left) << "from " << c.hits;
        EXPECT_EQ(b.hits, c.left);
        EXPECT_EQ(labelOf(b), std::to_string(c.left)) << "from " << c.hits;
        EXPECT_EQ(b.shape.getFillColor(), sf::Color(0, 0, c.blue, 255)) << "from " << c.hits;
    }
}
