#include "playfield/brick.h"
#include "game_test.h"

namespace {
const sf::Font& gameFont() {
    static const std::unique_ptr<sf::Font> font = loadGameFont();
    return *font;
}

std::string labelOf(const Brick& b) { return b.label.getString().toAnsiString(); }
}  // namespace

TEST(Bricks, SetupPlacesAndStylesTheBrickInItsCell) {
    const struct {
        int col, row;
        bool special;
        sf::Vector2f shape, label;
        sf::Color outline;
    } cases[] = {
        {0, 0, false, {0.f, 100.f}, {40.f, 100.f}, sf::Color::Black},
        {19, 14, true, {1824.f, 520.f}, {1864.f, 520.f}, sf::Color(80, 0, 0, 255)},
    };
    for (const auto& c : cases) {
        Brick b;
        b.setup(c.col, c.row, c.special, gameFont(), 9);
        const std::string cell = std::to_string(c.col) + "," + std::to_string(c.row);
        EXPECT_EQ(b.shape.getPosition(), c.shape) << cell;
        EXPECT_EQ(b.label.getPosition(), c.label) << cell;
        EXPECT_EQ(b.shape.getSize(), sf::Vector2f(96.f, 30.f)) << cell;
        EXPECT_EQ(b.shape.getFillColor(), sf::Color(0, 0, 150, 255)) << cell << ": fresh fill whatever the hits";
        EXPECT_EQ(b.shape.getOutlineColor(), c.outline) << cell;
        EXPECT_EQ(b.shape.getOutlineThickness(), -2.f) << cell << ": outline inside the cell";
        EXPECT_EQ(labelOf(b), "9") << cell;
        EXPECT_EQ(b.label.getFont(), &gameFont()) << cell;
    }
}

TEST(Bricks, LabelsGoWithoutAFontThatFailedToLoad) {
    const sf::Font unloaded;
    Brick b;
    b.setup(3, 4, false, unloaded, 5);
    EXPECT_EQ(b.label.getFont(), nullptr) << "SFML would draw a dot for it";
    EXPECT_EQ(labelOf(b), "5");
}

TEST(Bricks, HitCountsDownAndShadesBlueByHitsLeft) {
    const struct {
        int hits;
        int left;
        sf::Uint8 blue;
    } cases[] = {{9, 8, 240}, {5, 4, 120}, {2, 1, 30}, {1, 0, 0}, {0, -1, 226}};
    for (const auto& c : cases) {
        Brick b;
        b.setup(0, 0, false, gameFont(), c.hits);
        EXPECT_EQ(b.hit(), c.left) << "from " << c.hits;
        EXPECT_EQ(labelOf(b), std::to_string(c.left)) << "from " << c.hits;
        EXPECT_EQ(b.shape.getFillColor(), sf::Color(0, 0, c.blue, 255)) << "from " << c.hits;
    }
}
