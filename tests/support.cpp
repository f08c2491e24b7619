#include "support.h"

#include "app/window_seam.h"

#include <SFML/Window/Context.hpp>

#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <filesystem>

namespace {
const char* const kFontPath = "fonts/aAbstractGroovy.ttf";

WindowSeam scriptedSeam() {
    return WindowSeam{
        [](sf::RenderWindow*, sf::Event& event) {
            if (script().events.empty())
                return false;
            event = script().events.front();
            script().events.pop_front();
            return true;
        },
        [](const sf::RenderWindow*) { return script().mouse; },
        [](const sf::RenderWindow*) { return script().windowSize; },
        [](sf::RenderWindow*) { ++script().closes; },
    };
}

// Mesa's driver keeps a few blocks for the life of the process, reachable only from its
// own globals. SFML unloads it whenever its last context goes, between one test's game
// and the next, and LeakSanitizer would then find the blocks orphaned in a module it
// can no longer name. So one context loads it before any test, and every library
// loaded by then is pinned for the whole process.
class GraphicsDriverKeptLoaded : public ::testing::Environment {
    void SetUp() override {
        const sf::Context context;
        dl_iterate_phdr(
            [](dl_phdr_info* info, std::size_t, void*) {
                if (*info->dlpi_name)
                    dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
                return 0;
            },
            nullptr);
    }
};
[[maybe_unused]] const auto* const driverKeptLoaded =
    ::testing::AddGlobalTestEnvironment(new GraphicsDriverKeptLoaded);

sf::Event keyEvent(sf::Event::EventType type, sf::Keyboard::Key key) {
    sf::Event e{};
    e.type = type;
    e.key.code = key;
    return e;
}
}  // namespace

Script& script() {
    static Script s;
    return s;
}

sf::Event keyPress(sf::Keyboard::Key key) { return keyEvent(sf::Event::KeyPressed, key); }
sf::Event keyRelease(sf::Keyboard::Key key) { return keyEvent(sf::Event::KeyReleased, key); }

sf::Event mousePress() {
    sf::Event e{};
    e.type = sf::Event::MouseButtonPressed;
    e.mouseButton.button = sf::Mouse::Left;
    return e;
}

sf::Event mouseMove(int x, int y) {
    sf::Event e{};
    e.type = sf::Event::MouseMoved;
    e.mouseMove.x = x;
    e.mouseMove.y = y;
    return e;
}

sf::Event closed() {
    sf::Event e{};
    e.type = sf::Event::Closed;
    return e;
}

std::vector<int> drawsAfterSeed(unsigned seed, int count) {
    std::srand(seed);
    std::vector<int> draws;
    for (int i = 0; i < count; ++i)
        draws.push_back(std::rand());
    return draws;
}

::testing::AssertionResult nextDrawIs(unsigned seed, int index) {
    const int next = std::rand();
    const std::vector<int> draws = drawsAfterSeed(seed, index + 1);
    for (int i = 0; i < static_cast<int>(draws.size()); ++i)
        if (draws[i] == next)
            return i == index ? ::testing::AssertionSuccess()
                              : ::testing::AssertionFailure() << i << " draws taken, not " << index;
    return ::testing::AssertionFailure() << "more than " << index << " draws taken";
}

std::unique_ptr<sf::Font> loadGameFont() {
    auto font = std::make_unique<sf::Font>();
    EXPECT_TRUE(font->loadFromFile(kFontPath)) << "tests run from the source tree";
    return font;
}

void initLevelWithoutAssets(Game& game) {
    const auto home = std::filesystem::current_path();
    const auto empty = std::filesystem::temp_directory_path() / "vornaxi-no-assets";
    std::filesystem::create_directories(empty);
    std::filesystem::current_path(empty);
    game.initLevel();
    std::filesystem::current_path(home);
}

int mouseUnderFallingBall(const Game& game, int offset) {
    const Ball* target = nullptr;
    for (const Ball& ball : game.balls) {
        const sf::Vector2f pos = ball.shape.getPosition();
        if (ball.velocity.y > 0.f && pos.y < 990.f && (!target || pos.y > target->shape.getPosition().y))
            target = &ball;
    }
    if (!target)
        return 960 + offset;
    const sf::Vector2f pos = target->shape.getPosition();
    return static_cast<int>(pos.x + target->velocity.x * (990.f - pos.y) / target->velocity.y) + offset;
}

void GameTest::SetUp() {
    script() = Script{};
    windowSeam() = scriptedSeam();
    std::srand(1);
    game.font = loadGameFont();
    ASSERT_FALSE(HasFailure());
    game.initLevel();
}

void GameTest::TearDown() { windowSeam() = realWindowSeam(); }

int GameTest::bricksStanding() const {
    int n = 0;
    for (const auto& slot : game.bricks)
        n += slot != nullptr;
    return n;
}

void GameTest::clearWall() {
    for (auto& slot : game.bricks)
        slot.reset();
}

Brick& GameTest::putBrick(int col, int row, int hits, bool special) {
    auto& slot = game.bricks[slotIndex(col, row)];
    slot = std::make_unique<Brick>();
    slot->setup(col, row, special, *game.font, hits);
    return *slot;
}

std::vector<int> GameTest::hitsLeft() const {
    std::vector<int> hits;
    for (const auto& slot : game.bricks)
        hits.push_back(slot ? slot->hits : 0);
    return hits;
}

Ball& GameTest::placeBall(std::size_t index, float x, float y, sf::Vector2f velocity) {
    Ball& ball = game.balls.at(index);
    ball.shape.setPosition(x, y);
    ball.velocity = velocity;
    return ball;
}

void GameTest::frames(int count) {
    for (int i = 0; i < count; ++i)
        game.update();
}

// What only the graphics driver itself holds, by its module's name; a leak of the
// game's own still fails the sanitizer build.
extern "C" const char* __lsan_default_suppressions() { return "leak:_dri.so\nleak:libgallium\n"; }
