#include "game_test.h"

#include "app/batched_draw.h"
#include "app/world.h"
#include "draw_frame.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <cstdlib>
#include <functional>

namespace {
// Screens players have: the world at 1:1, shrunk both ways, and doubled.
const sf::Vector2u kScreens[] = {{1920, 1080}, {1366, 768}, {1280, 1024}, {1920, 1200}, {2560, 1440}, {3840, 2160}};

// Off a one-to-one scale, a shape is placed by its transform on the renderer and the
// batch's corners on the CPU, and the float roundings differ: a glyph's filtered edge on
// a tie changes a pixel by a level, an edge within rounding of the renderer's grid moves
// by a pixel. So there a pixel may match a neighbour within a level; more is a fault.
// Returns the pixels that differ and where the first one is.
std::pair<long, std::string> compare(const sf::Image& expected, const sf::Image& actual, bool slack) {
    const auto near = [](sf::Color a, sf::Color b) {
        return std::abs(a.r - b.r) <= 1 && std::abs(a.g - b.g) <= 1 && std::abs(a.b - b.b) <= 1 && std::abs(a.a - b.a) <= 1; };
    long pixels = 0;
    std::string first;
    const sf::Vector2u size = expected.getSize();
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x) {
            const sf::Color got = actual.getPixel(x, y);
            bool fair = got == expected.getPixel(x, y);
            for (unsigned ny = y > 0 ? y - 1 : y; slack && !fair && ny <= y + 1 && ny < size.y; ++ny)
                for (unsigned nx = x > 0 ? x - 1 : x; !fair && nx <= x + 1 && nx < size.x; ++nx)
                    fair = near(expected.getPixel(nx, ny), got);
            if (!fair && pixels++ == 0)
                first = "the first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
    return {pixels, first};
}

}  // namespace

class DrawTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        for (std::size_t i = 0; i < std::size(kScreens); ++i) {
            ASSERT_TRUE(canvases[i].create(kScreens[i].x, kScreens[i].y)) << "no render texture: is there an X display?";
            canvases[i].setView(fittedView(kScreens[i]));
        }
    }

    static sf::Image render(sf::RenderTexture& canvas, const std::function<void(sf::RenderTarget&)>& draw) {
        canvas.clear(sf::Color::Black);
        draw(canvas);
        canvas.display();
        return canvas.getTexture().copyToImage();
    }
    // The game's picture, batched, against drawFrame's, on every screen.
    void expectSamePicture(const Game& g, const std::string& what) {
        for (std::size_t i = 0; i < std::size(kScreens); ++i) {
            const sf::Image expected = render(canvases[i], [&](sf::RenderTarget& t) { drawFrame(g, t); });
            const sf::Image actual = render(canvases[i], [&](sf::RenderTarget& t) { batch.draw(g, t); });
            const auto [pixels, first] = compare(expected, actual, worldArea(kScreens[i]).width != 1920);
            EXPECT_EQ(pixels, 0) << what << " on a " << kScreens[i].x << "x" << kScreens[i].y << " screen, " << first;
        }
    }

    sf::RenderTexture canvases[std::size(kScreens)];
    BatchedDraw batch;
};

// One batch draws every state in turn, as a window's would, so nothing left over from
// an earlier frame can hide.
TEST_F(DrawTest, BatchedFrameIsPixelForPixelTheObjectByObjectFrame) {
    const struct {
        const char* name;
        std::function<void(Game&)> apply;
    } states[] = {
        {"full wall", [](Game& g) { std::srand(7); g.buildBrickGrid(); }},
        {"destroyed cells, damaged and special bricks, bonus balls",
         [](Game& g) {
             for (int i = 0; i < 1500; ++i)
                 g.hitBrick(std::rand() % kGridColumns, std::rand() % kGridRows);
             for (int col = 0; col < kGridColumns; ++col)  // labels up to two digits
                 g.bricks[slotIndex(col, 9)] = makeBrick(col, 9, col % 3 == 0, *g.font, col);
         }},
        {"balls of every type, some inside the wall",
         [](Game& g) {
             const sf::Vector2f places[] = {{20.4f, 110.7f}, {500.5f, 300.25f}, {1000.f, 560.f},
                                            {1910.3f, 95.1f}, {960.f, 700.6f},  {33.3f, 1075.f}};
             for (int i = 0; i < 6; ++i) {
                 g.balls.push_back(makeBall(static_cast<BallType>(i % 5)));
                 g.balls.back().shape.setPosition(places[i]);
             }
         }},
        {"paused", [](Game& g) { script().events.push_back(keyPress(sf::Keyboard::P)); g.update(); }},
        {"restarted wall",
         [](Game& g) {
             for (const auto& e : {keyPress(sf::Keyboard::P), keyPress(sf::Keyboard::R), keyRelease(sf::Keyboard::R)})
                 script().events.push_back(e);
             std::srand(11);
             for (int frame = 0; frame < 3; ++frame)
                 g.update();
         }},
    };
    for (const auto& state : states) {
        state.apply(game);
        expectSamePicture(game, std::string("state \"") + state.name + "\"");
    }
    // Any image serves as the background, even of another size that lets the black of the
    // cleared window through.
    sf::Image image;
    image.create(777, 333);
    for (unsigned y = 0; y < 333; ++y)
        for (unsigned x = 0; x < 777; ++x)
            image.setPixel(x, y, sf::Color(x * 7 % 256, y * 5 % 256, (x ^ y) % 256, 128));
    ASSERT_TRUE(game.backgroundTexture.loadFromImage(image));
    game.background.setTextureRect({0, 0, 777, 333});
    expectSamePicture(game, "a translucent background of another size");
    game.background.setTexture(nullptr);  // as the level leaves it when the image is missing
    game.background.setFillColor(sf::Color::Black);
    expectSamePicture(game, "with the background image missing");
}
