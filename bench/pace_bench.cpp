// How true the game's pace is: its own loop (update, clear, the batched drawing, display)
// run for a stretch of wall-clock time in a real window the size of the screen, with
// balls sweeping under a full wall, paced as the game paces it and, for comparison, by
// SFML's frame limit. For each it prints the frames per wall-clock second, the interval
// between frames (median, 99th percentile, longest), how far the timer's reading is
// from the wall clock at the end, and the process's CPU time per frame.
//
// Usage, from the repository root: pace_bench [--no-header] [SECONDS]
#include "app/batched_draw.h"
#include "app/pacing.h"
#include "app/world.h"
#include "scenes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {
constexpr int kDefaultSeconds = 60;
constexpr int kSweepingBalls = 5;
constexpr unsigned kSeed = 2024;

enum class Pacing { SfmlLimit, FramePacer };

using Clock = std::chrono::steady_clock;

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double percentile(std::vector<double> values, double p) {
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(p * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

void measure(sf::RenderWindow& window, Pacing pacing, int seconds) {
    Game game{};  // the bench owns the window; the game's stays empty
    BatchedDraw batch;
    setUpGame(game, kSeed);
    sweepBalls(game, kSweepingBalls);
    game.frameCount = 0;
    window.setFramerateLimit(pacing == Pacing::SfmlLimit ? kFramesPerSecond : 0);

    std::vector<double> intervalsMs;
    intervalsMs.reserve(static_cast<std::size_t>(seconds) * kFramesPerSecond * 2);
    const double cpuStart = processCpuSeconds();
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + std::chrono::seconds(seconds);
    Clock::time_point last = start;
    FramePacer pacer;
    while (last < end) {
        game.update();
        window.clear(sf::Color::Black);
        window.setView(fittedView(window.getSize()));
        batch.draw(game, window);
        window.display();
        if (pacing == Pacing::FramePacer)
            pacer.endFrame();
        const Clock::time_point now = Clock::now();
        intervalsMs.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
    const double wall = std::chrono::duration<double>(last - start).count();
    const double cpu = processCpuSeconds() - cpuStart;
    const double timer = static_cast<double>(game.frameCount) / kFramesPerSecond;
    const double frames = static_cast<double>(intervalsMs.size());
    std::printf("| %ux%u | %s | %.3f | %.2f ms | %.2f ms | %.2f ms | %+.3f %% | %.2f ms |\n", window.getSize().x,
                window.getSize().y, pacing == Pacing::SfmlLimit ? "SFML's frame limit" : "the game's pacer",
                frames / wall, percentile(intervalsMs, 0.5), percentile(intervalsMs, 0.99),
                *std::max_element(intervalsMs.begin(), intervalsMs.end()), (timer - wall) / wall * 100.,
                cpu * 1e3 / frames);
}
}  // namespace

int main(int argc, char** argv) {
    const int flags = argc > 1 && std::strcmp(argv[1], "--no-header") == 0 ? 1 : 0;
    const int seconds = argc > 1 + flags ? std::atoi(argv[1 + flags]) : kDefaultSeconds;
    if (seconds <= 0 || argc > 2 + flags) {
        std::fprintf(stderr, "usage: %s [--no-header] [SECONDS]\n", argv[0]);
        return 2;
    }
    sf::RenderWindow window;
    openBenchWindow(window);
    if (flags == 0) {
        std::printf("The game's loop for %d s of wall-clock time, balls in flight under a full wall\n\n", seconds);
        std::printf("| screen | pacing | frames per second | interval median | 99th percentile | longest "
                    "| timer vs wall clock | CPU per frame |\n|---|---|---:|---:|---:|---:|---:|---:|\n");
    }
    for (const Pacing pacing : {Pacing::SfmlLimit, Pacing::FramePacer})
        measure(window, pacing, seconds);
    return 0;
}
