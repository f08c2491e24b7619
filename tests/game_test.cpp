#include "game_test.h"

#include "app/window_seam.h"

#include <SFML/Window/Context.hpp>

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cstdlib>

namespace {
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
}  // namespace

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

void GameTest::SetUp() {
    useScriptedWindow();
    std::srand(1);
    game.font = loadGameFont();
    ASSERT_TRUE(fontLoaded(*game.font)) << "no font: tests run from the repository root";
    game.initLevel();
}

void GameTest::TearDown() { windowSeam() = realWindowSeam(); }

int GameTest::bricksStanding() const {
    return static_cast<int>(std::count_if(game.bricks.begin(), game.bricks.end(), [](const auto& s) { return s != nullptr; }));
}

void GameTest::clearWall() {
    for (auto& slot : game.bricks)
        slot.reset();
}

void GameTest::putBrick(int col, int row, int hits, bool special) {
    game.bricks[slotIndex(col, row)] = makeBrick(col, row, special, *game.font, hits);
}

std::vector<int> GameTest::hitsLeft() const {
    std::vector<int> hits;
    for (const auto& slot : game.bricks)
        hits.push_back(slot ? slot->hits : 0);
    return hits;
}

void GameTest::placeBall(std::size_t index, float x, float y, sf::Vector2f velocity) {
    game.balls.at(index).shape.setPosition(x, y);
    game.balls.at(index).velocity = velocity;
}

void GameTest::frames(int count) {
    for (int i = 0; i < count; ++i)
        game.update();
}

// What only the graphics driver itself holds, by its module's name; a leak of the
// game's own still fails the sanitizer build.
extern "C" const char* __lsan_default_suppressions() { return "leak:_dri.so\nleak:libgallium\n"; }
