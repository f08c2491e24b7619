#include "display_sim.h"

#include "app/pacing.h"
#include "app/world.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
constexpr double kMicros = 1e6;
constexpr double kLowestVariableHz = 48.;

// When each refresh happens and which frame it shows.
class Screen {
public:
    explicit Screen(const SimDisplay& d)
        : d_(d), period_(kMicros / d.refreshHz * (1. + d.driftPpm * 1e-6)), next_(period_ * 0.37) {}

    struct Frame {
        double stepped;
        int refreshes;
        double firstShown;
    };
    std::vector<Frame> frames;
    long tears = 0;

    // A frame stepped at `stepped`, swapped at t with the interval in force: when it goes up.
    double present(double stepped, double t, int interval) {
        const bool synced = interval > 0 && d_.kind != SimDisplay::IgnoresSync;
        if (d_.kind == SimDisplay::Variable)
            return presentVariable(stepped, t, synced);
        refreshUntil(t);
        // FIFO: at a refresh, and `interval` refreshes after the frame before at the soonest.
        const long at = synced ? std::max(refreshCount_, lastSynced_ + interval) : 0;
        while (refreshCount_ < at)
            refresh();
        frames.push_back({stepped, 0, -1.});
        if (!synced) {  // a fixed refresh is never exactly at the swap
            tears += d_.kind != SimDisplay::Composited;
            return t;
        }
        const double shown = next_;
        refresh();
        lastSynced_ = at;
        return shown;
    }

    void refreshUntil(double t) {
        while (next_ < t)
            refresh();
    }

private:
    void refresh() {
        if (!frames.empty() && frames.back().refreshes++ == 0)
            frames.back().firstShown = next_;
        ++refreshCount_;
        next_ += period_;
    }

    double presentVariable(double stepped, double t, bool synced) {
        for (const double longest = kMicros / kLowestVariableHz; next_ + longest < t; next_ += longest)
            ++frames.back().refreshes;  // the display repeats the last frame rather than go dark
        const bool early = t < next_ + period_;
        tears += early && !synced;
        next_ = early && synced ? next_ + period_ : t;
        frames.push_back({stepped, 1, next_});
        return next_;
    }

    SimDisplay d_;
    double period_;
    double next_;  // the next refresh on the grid; the last one, when variable
    long refreshCount_ = 0, lastSynced_ = -1000;
};

// The simulation's clock and display, reached from PaceClock's plain function pointers.
struct World {
    std::int64_t now = 0, stepped = 0;  // stepped: when the frame being made was
    std::uint32_t random = 12345;
    Sleeps sleeps = Sleeps::Linux;
    int interval = 0;
    Screen* screen = nullptr;
    SimRun* run = nullptr;
} world;

int uniform(int low, int high) {  // a fixed sequence, so every run is the same
    world.random = world.random * 1664525u + 1013904223u;
    return low + static_cast<int>((world.random >> 8) % static_cast<std::uint32_t>(high - low + 1));
}

const PaceClock kSimClock{
    [] { return world.now; },
    [](std::int64_t micros) {
        world.now += std::max<std::int64_t>(0, micros + (world.sleeps == Sleeps::Linux ? uniform(50, 150) : uniform(-1000, 2000)));
    },
};

// Put up; a synced swap returns once the frame is up.
void putUp() {
    const double at = world.screen->present(static_cast<double>(world.stepped), static_cast<double>(world.now), world.interval);
    if (world.interval > 0)
        world.now = std::max(world.now, static_cast<std::int64_t>(std::ceil(at)));
}

SwapSeam simSeam(SimDisplay::Kind kind) {
    return SwapSeam{
        [kind](int interval) {
            world.interval = kind == SimDisplay::NoSwapControl ? 0 : interval;
            return kind != SimDisplay::NoSwapControl;
        },
        [](bool) { putUp(); },
        [](const char* line) { world.run->reported.emplace_back(line); },
    };
}

void count(const Screen& screen, const SimDisplay& display, SimRun& run) {
    const int most = display.kind == SimDisplay::Variable ? 1 : static_cast<int>(std::ceil(display.refreshHz / kFramesPerSecond - 1e-9));
    std::vector<double> errors;
    double lastShown = -1., latency = 0.;
    for (std::size_t i = 0; i + 1 < screen.frames.size(); ++i) {  // the last may still be up
        const Screen::Frame& f = screen.frames[i];
        ++run.refreshesPerFrame[f.refreshes];
        run.skipped += f.refreshes == 0;
        run.repeated += f.refreshes > most;
        if (f.refreshes == 0)
            continue;
        if (lastShown >= 0.)
            errors.push_back(std::abs(f.firstShown - lastShown - kMicros / kFramesPerSecond) / 1e3);
        lastShown = f.firstShown;
        latency += f.firstShown - f.stepped;
        run.maxLatencyMs = std::max(run.maxLatencyMs, (f.firstShown - f.stepped) / 1e3);
    }
    run.tears = screen.tears;
    const auto p99 = errors.begin() + static_cast<std::ptrdiff_t>(0.99 * static_cast<double>(errors.size()));
    if (p99 != errors.end()) {
        std::nth_element(errors.begin(), p99, errors.end());
        run.p99IntervalErrorMs = *p99;
    }
    run.meanLatencyMs = latency / static_cast<double>(errors.size() + 1) / 1e3;
}
}  // namespace

double SimRun::timerDriftPerHour() const {
    return (static_cast<double>(steps) / kFramesPerSecond - seconds) / seconds * 3600.;
}

double SimRun::meanRefreshesPerFrame() const {
    double sum = 0., frames = 0.;
    for (const auto& [refreshes, n] : refreshesPerFrame)
        sum += static_cast<double>(refreshes * n), frames += static_cast<double>(n);
    return sum / frames;
}

SimRun simulate(const SimDisplay& display, Pacing pacing, Sleeps sleeps, double minutes) {
    SimRun run;
    Screen screen(display);
    world = World{0, 0, 12345, sleeps, 0, &screen, &run};
    FramePacer todays(kSimClock);
    DisplayPacing paced(simSeam(display.kind), kSimClock);
    while (world.now < static_cast<std::int64_t>(minutes * 60. * kMicros)) {
        if (pacing == Pacing::Game)
            paced.follow(display.refreshHz);
        ++run.steps;
        world.stepped = world.now;
        world.now += uniform(1000, 6000);  // the step and its drawing
        if (pacing == Pacing::Game) {
            paced.show();
        } else {
            putUp();
            todays.endFrame();
        }
    }
    screen.refreshUntil(static_cast<double>(world.now));
    run.seconds = static_cast<double>(world.now) / kMicros;
    count(screen, display, run);
    return run;
}
