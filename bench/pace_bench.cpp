// How true the game's pace is: its own loop (update, clear, the batched drawing, display)
// in a real window the size of the screen, with balls sweeping under a full wall, paced
// as the game paces it and, for comparison, by SFML's frame limit, the two taking turns
// in rounds of wall-clock time. For each it prints the frames per wall-clock second, the interval
// between frames (median, 99th percentile, longest), how far the timer's reading is
// from the wall clock at the end, and the process's CPU time per frame.
//
// Usage, from the repository root: pace_bench [--no-header] [SECONDS]  (for each way of pacing)
#include "app/batched_draw.h"
#include "app/pacing.h"
#include "app/world.h"
#include "scenes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

namespace {
constexpr int kDefaultSeconds = 60;
constexpr int kRounds = 3;  // the two take turns, so a passing load hits them alike
constexpr int kSweepingBalls = 5;
constexpr unsigned kSeed = 2024;

enum class Pacing { SfmlLimit, FramePacer };

using Clock = std::chrono::steady_clock;

double percentile(std::vector<double> values, double p) {
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(p * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

struct Measure {
    std::vector<double> intervalsMs;
    double wallSeconds = 0.;
    double cpuSeconds = 0.;
    double timerSeconds = 0.;
};

// One stretch of the loop, from a fresh game.
void run(sf::RenderWindow& window, Pacing pacing, int seconds, Measure& m) {
    Game game{};  // the bench owns the window; the game's stays empty
    BatchedDraw batch;
    setUpGame(game, kSeed);
    sweepBalls(game, kSweepingBalls);
    game.frameCount = 0;
    window.setFramerateLimit(pacing == Pacing::SfmlLimit ? kFramesPerSecond : 0);

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
        m.intervalsMs.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
    m.wallSeconds += std::chrono::duration<double>(last - start).count();
    m.cpuSeconds += processCpuSeconds() - cpuStart;
    m.timerSeconds += static_cast<double>(game.frameCount) / kFramesPerSecond;
}

void print(const sf::RenderWindow& window, Pacing pacing, const Measure& m) {
    const double frames = static_cast<double>(m.intervalsMs.size());
    std::printf("| %ux%u | %s | %.3f | %.2f ms | %.2f ms | %.2f ms | %+.3f %% | %.2f ms |\n", window.getSize().x,
                window.getSize().y, pacing == Pacing::SfmlLimit ? "SFML's frame limit" : "the game's pacer",
                frames / m.wallSeconds, percentile(m.intervalsMs, 0.5), percentile(m.intervalsMs, 0.99),
                *std::max_element(m.intervalsMs.begin(), m.intervalsMs.end()),
                (m.timerSeconds - m.wallSeconds) / m.wallSeconds * 100., m.cpuSeconds * 1e3 / frames);
}
}  // namespace

int main(int argc, char** argv) {
    const int flags = argc > 1 && std::strcmp(argv[1], "--no-header") == 0 ? 1 : 0;
    const int seconds = argc > 1 + flags ? std::atoi(argv[1 + flags]) : kDefaultSeconds;
    if (seconds < kRounds || argc > 2 + flags) {
        std::fprintf(stderr, "usage: %s [--no-header] [SECONDS]\n", argv[0]);
        return 2;
    }
    Game owner{};
    sf::RenderWindow& window = openBenchWindow(owner);
    if (flags == 0) {
        std::printf("The game's loop for %d s of wall-clock time, in %d rounds, balls in flight under a full wall\n\n",
                    seconds, kRounds);
        std::printf("| screen | pacing | frames per second | interval median | 99th percentile | longest "
                    "| timer vs wall clock | CPU per frame |\n|---|---|---:|---:|---:|---:|---:|---:|\n");
    }
    constexpr Pacing kPacings[] = {Pacing::SfmlLimit, Pacing::FramePacer};
    Measure measures[std::size(kPacings)];
    for (int round = 0; round < kRounds; ++round)
        for (std::size_t i = 0; i < std::size(kPacings); ++i)
            run(window, kPacings[i], seconds / kRounds, measures[i]);
    for (std::size_t i = 0; i < std::size(kPacings); ++i)
        print(window, kPacings[i], measures[i]);
    return 0;
}
