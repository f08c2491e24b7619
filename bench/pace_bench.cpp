// How true the game's pace is: its own loop (update, clear, the batched drawing, display)
// in a real window the size of the screen, with balls sweeping under a full wall, paced
// as the game paces it and, for comparison, by SFML's frame limit, the two taking turns
// in rounds of wall-clock time. For each it prints the frames per wall-clock second, the interval
// between frames (median, 99th percentile, longest), how far the timer's reading is
// from the wall clock at the end, and the process's CPU time per frame.
// With --simulated, no window: the game's pacing and today's clock alone against simulated
// displays, a line each, for MINUTES of simulated time.
//
// Usage, from the repository root: pace_bench [--no-header] [SECONDS]  (for each way of pacing)
//                                  pace_bench --simulated [MINUTES]
#include "app/batched_draw.h"
#include "app/pacing.h"
#include "app/screen.h"
#include "app/world.h"
#include "display_sim.h"
#include "scenes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {
constexpr int kDefaultSeconds = 60;
constexpr int kRounds = 3;  // the two take turns, so a passing load hits them alike
constexpr int kSweepingBalls = 5;
constexpr unsigned kSeed = 2024;

enum class PaceBy { SfmlLimit, Game };

// Displays players have, each simulated for the same minutes, today's way and the game's.
void simulated(double minutes) {
    const struct {
        SimDisplay display;
        Sleeps sleeps;
    } displays[] = {
        {{"50 Hz", 50.}, Sleeps::Linux},
        {{"59.94 Hz", 59.94}, Sleeps::Linux},
        {{"59.94 Hz, composited", 59.94, SimDisplay::Composited}, Sleeps::Linux},
        {{"60 Hz", 60.}, Sleeps::Linux},
        {{"60 Hz, 50 ppm slow", 60., SimDisplay::Direct, 50.}, Sleeps::Linux},
        {{"75 Hz", 75.}, Sleeps::Linux},
        {{"119.88 Hz", 119.88}, Sleeps::Linux},
        {{"144 Hz", 144.}, Sleeps::Linux},
        {{"144 Hz, Windows' millisecond sleeps", 144.}, Sleeps::Windows},
        {{"165 Hz", 165.}, Sleeps::Linux},
        {{"240 Hz", 240.}, Sleeps::Linux},
        {{"variable, 48 to 144 Hz", 144., SimDisplay::Variable}, Sleeps::Linux},
        {{"60 Hz, a driver ignoring the interval", 60., SimDisplay::IgnoresSync}, Sleeps::Linux},
    };
    std::printf("Simulated displays, %.0f minutes each: today's way (the game's clock alone, frames up at once) "
                "and the game's (the display's refresh)\n\n",
                minutes);
    std::printf("| display | way | refreshes a frame: share of frames | tears a minute | skipped a minute "
                "| repeated a minute | 99th pct. of |shown interval - 16.667 ms| | timer drift an hour "
                "| steps a second | step to shown, mean / longest |\n|---|---|---|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& d : displays)
        for (const Pacing pacing : {Pacing::Today, Pacing::Game}) {
            const SimRun run = simulate(d.display, pacing, d.sleeps, minutes);
            std::string cadence;
            const double frames = static_cast<double>(run.steps);
            for (const auto& [refreshes, n] : run.refreshesPerFrame) {
                char share[40];
                std::snprintf(share, sizeof share, "%s%d: %.1f %%", cadence.empty() ? "" : ", ", refreshes,
                              100. * static_cast<double>(n) / frames);
                cadence += share;
            }
            std::printf("| %s | %s | %s | %.1f | %.1f | %.1f | %.2f ms | %+.2f s | %.3f | %.1f / %.1f ms |\n",
                        d.display.name, pacing == Pacing::Today ? "today's" : "the game's", cadence.c_str(),
                        run.perMinute(run.tears), run.perMinute(run.skipped), run.perMinute(run.repeated),
                        run.p99IntervalErrorMs, run.timerDriftPerHour(), run.stepsPerSecond(), run.meanLatencyMs,
                        run.maxLatencyMs);
        }
}

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
void run(sf::RenderWindow& window, PaceBy pacing, int seconds, Measure& m) {
    Game game{};  // the bench owns the window; the game's stays empty
    BatchedDraw batch;
    setUpGame(game, kSeed);
    sweepBalls(game, kSweepingBalls);
    game.frameCount = 0;
    window.setFramerateLimit(pacing == PaceBy::SfmlLimit ? kFramesPerSecond : 0);

    const double cpuStart = processCpuSeconds();
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + std::chrono::seconds(seconds);
    Clock::time_point last = start;
    DisplayPacing paced(windowSwaps(window));
    paced.follow(monitorRefresh());
    while (last < end) {
        game.update();
        window.clear(sf::Color::Black);
        window.setView(fittedView(window.getSize()));
        batch.draw(game, window);
        if (pacing == PaceBy::Game)
            paced.show();
        else
            window.display();
        const Clock::time_point now = Clock::now();
        m.intervalsMs.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
    m.wallSeconds += std::chrono::duration<double>(last - start).count();
    m.cpuSeconds += processCpuSeconds() - cpuStart;
    m.timerSeconds += static_cast<double>(game.frameCount) / kFramesPerSecond;
}

void print(const sf::RenderWindow& window, PaceBy pacing, const Measure& m) {
    const double frames = static_cast<double>(m.intervalsMs.size());
    std::printf("| %ux%u | %s | %.3f | %.2f ms | %.2f ms | %.2f ms | %+.3f %% | %.2f ms |\n", window.getSize().x,
                window.getSize().y, pacing == PaceBy::SfmlLimit ? "SFML's frame limit" : "the game's pacer",
                frames / m.wallSeconds, percentile(m.intervalsMs, 0.5), percentile(m.intervalsMs, 0.99),
                *std::max_element(m.intervalsMs.begin(), m.intervalsMs.end()),
                (m.timerSeconds - m.wallSeconds) / m.wallSeconds * 100., m.cpuSeconds * 1e3 / frames);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--simulated") == 0) {
        simulated(argc > 2 ? std::atof(argv[2]) : 10.);
        return 0;
    }
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
    constexpr PaceBy kPacings[] = {PaceBy::SfmlLimit, PaceBy::Game};
    Measure measures[std::size(kPacings)];
    for (int round = 0; round < kRounds; ++round)
        for (std::size_t i = 0; i < std::size(kPacings); ++i)
            run(window, kPacings[i], seconds / kRounds, measures[i]);
    for (std::size_t i = 0; i < std::size(kPacings); ++i)
        print(window, kPacings[i], measures[i]);
    return 0;
}
