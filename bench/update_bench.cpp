// Google Benchmark: the game logic of one frame, one brick contact, and the wall's
// building. Each measured call starts from the same state, put back untimed.
#include "scenes.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdlib>

namespace {
constexpr unsigned kSeed = 2024;
constexpr int kContactCol = 10;  // mid-wall, so each pattern lands whole
constexpr int kContactRow = 7;

// What a frame may change, kept to be put back between measured calls: bricks are
// rebuilt only where they changed, so putting back costs little.
struct Snapshot {
    std::array<int, kBrickCount> hits{};
    std::array<bool, kBrickCount> special{};
    std::vector<Ball> balls;
    std::int32_t frameCount = 0;

    explicit Snapshot(const Game& game) : balls(game.balls), frameCount(game.frameCount) {
        for (std::size_t i = 0; i < game.bricks.size(); ++i) {
            hits[i] = game.bricks[i] ? game.bricks[i]->hits : 0;
            special[i] = game.bricks[i] && game.bricks[i]->special;
        }
    }

    void restore(Game& game) const {
        for (int col = 0; col < kGridColumns; ++col) {
            for (int row = 0; row < kGridRows; ++row) {
                const int i = slotIndex(col, row);
                auto& slot = game.bricks[i];
                if (hits[i] == 0 ? slot == nullptr : slot && slot->hits == hits[i])
                    continue;
                slot.reset();
                if (hits[i] != 0)
                    slot = makeBrick(col, row, special[i], *game.font, hits[i]);
            }
        }
        game.balls.erase(game.balls.begin() + static_cast<std::ptrdiff_t>(balls.size()), game.balls.end());
        for (std::size_t i = 0; i < balls.size(); ++i) {
            game.balls[i].shape.setPosition(balls[i].shape.getPosition());
            game.balls[i].velocity = balls[i].velocity;
        }
        game.destroyedCount = 0;
        game.frameCount = frameCount;
    }
};

template <typename F>
double seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Bench {
    Game game{};
    Bench() {
        useScriptedWindow();
        setUpGame(game, kSeed);
    }
};

// One frame of play on a full wall with N balls in flight, some inside the wall.
void BM_UpdateFrame(benchmark::State& state) {
    Bench b;
    spreadBalls(b.game, static_cast<int>(state.range(0)));
    const Snapshot start(b.game);
    for (auto _ : state) {
        state.SetIterationTime(seconds([&] { b.game.update(); }));
        start.restore(b.game);
        std::srand(kSeed);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UpdateFrame)
    ->ArgName("balls")
    ->Arg(1)->Arg(16)->Arg(64)->Arg(256)->Arg(1024)
    ->UseManualTime()
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

// One touch of a ball of each type on a full wall. The random draws run on from touch
// to touch, so Blue and Red average over their chances.
void BM_Contact(benchmark::State& state, BallType type) {
    Bench b;
    const Snapshot start(b.game);
    std::srand(kSeed);
    for (auto _ : state) {
        state.SetIterationTime(seconds([&] { b.game.onBrickContact(kContactCol, kContactRow, type); }));
        start.restore(b.game);
    }
}
BENCHMARK_CAPTURE(BM_Contact, white, BallType::White)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Contact, yellow, BallType::Yellow)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Contact, blue, BallType::Blue)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Contact, green, BallType::Green)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Contact, red, BallType::Red)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_BuildBrickGrid(benchmark::State& state) {
    Bench b;
    for (auto _ : state)
        b.game.buildBrickGrid();
}
BENCHMARK(BM_BuildBrickGrid)->Unit(benchmark::kMicrosecond);

// A restart from play: the wall rebuilt and bonus balls dropped.
void BM_Restart(benchmark::State& state) {
    Bench b;
    spreadBalls(b.game, 16);
    const std::vector<Ball> balls = b.game.balls;
    for (auto _ : state) {
        state.SetIterationTime(seconds([&] { b.game.restart(); }));
        b.game.balls = balls;
    }
}
BENCHMARK(BM_Restart)->UseManualTime()->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();
