#include "display_sim.h"

#include "app/pacing.h"
#include "app/world.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
constexpr double kMicros = 1e6;
constexpr double kSixtieth = kMicros / kFramesPerSecond;
constexpr double kLowestVariableHz = 48.;

// The display: when each refresh happens and which frame it shows.
class Screen {
public:
    explicit Screen(const SimDisplay& d)
        : d_(d), period_(kMicros / d.refreshHz * (1. + d.driftPpm * 1e-6)), next_(period_ * 0.37) {}

    // A frame stepped at `stepped` and swapped at t with the interval in force: returns when it goes up.
    double present(double stepped, double t, int interval) {
        const bool synced = interval > 0 && d_.kind != SimDisplay::IgnoresSync;
        if (d_.kind == SimDisplay::Variable)
            return presentVariable(stepped, t, synced);
        if (!synced) {
            refreshUntil(t);
            if (d_.kind != SimDisplay::Composited)
                ++tears;  // a fixed refresh is never exactly at the swap
            frames.push_back({stepped, 0, -1.});
            return t;
        }
        // FIFO: at a refresh, and `interval` refreshes after the frame before at the soonest.
        refreshUntil(t);
        const long at = std::max(refreshCount_, lastFifo_ + interval);
        while (refreshCount_ < at)
            refresh();
        frames.push_back({stepped, 0, -1.});
        const double time = next_;
        refresh();
        lastFifo_ = at;
        return time;
    }

    void finish(double t) { refreshUntil(t); }

    struct Frame {
        double stepped;
        int refreshes;
        double firstShown;
    };
    std::vector<Frame> frames;
    long tears = 0;

private:
    // One refresh of the grid, showing the newest frame.
    void refresh() {
        if (!frames.empty()) {
            Frame& shown = frames.back();
            if (shown.refreshes++ == 0)
                shown.firstShown = next_;
        }
        ++refreshCount_;
        next_ += period_;
    }
    void refreshUntil(double t) {
        while (next_ < t)
            refresh();
    }

    double presentVariable(double stepped, double t, bool synced) {
        const double longest = kMicros / kLowestVariableHz;
        while (next_ + longest < t) {  // the display repeats the last frame rather than go dark
            next_ += longest;
            if (!frames.empty())
                ++frames.back().refreshes;
        }
        double at = std::max(t, next_ + period_);
        if (!synced && t < next_ + period_) {
            ++tears;
            at = t;
        }
        frames.push_back({stepped, 1, at});
        next_ = at;
        return at;
    }

    SimDisplay d_;
    double period_;
    double next_;  // the next refresh on the grid; the last one, when variable
    long refreshCount_ = 0;
    long lastFifo_ = -1000;
};

// The simulation's clock and display, reached from PaceClock's plain function pointers.
struct World {
    std::int64_t now = 0;
    std::int64_t stepped = 0;  // when the frame being made was stepped
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
        const int overshoot = world.sleeps == Sleeps::Linux ? uniform(50, 150) : uniform(-1000, 2000);
        world.now += std::max<std::int64_t>(0, micros + overshoot);
    },
};

void putUp(bool wait) {
    const double at =
        world.screen->present(static_cast<double>(world.stepped), static_cast<double>(world.now), world.interval);
    if (wait || world.interval > 0)
        world.now = std::max(world.now, static_cast<std::int64_t>(std::ceil(at)));
}

SwapSeam simSeam(const SimDisplay& display) {
    return SwapSeam{
        [kind = display.kind](int interval) {
            world.run->intervalsAsked.push_back(interval);
            if (kind == SimDisplay::NoSwapControl)
                return false;
            world.interval = interval;
            return true;
        },
        putUp,
        [](const char* line) { world.run->reported.emplace_back(line); },
    };
}

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0.;
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(p * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

void count(const Screen& screen, const SimDisplay& display, SimRun& run) {
    // The display's cadence: a frame up for more refreshes than this was held back.
    const int most = display.kind == SimDisplay::Variable ? 1 : static_cast<int>(std::ceil(display.refreshHz / kFramesPerSecond - 1e-9));
    std::vector<double> errors;
    double lastShown = -1., latency = 0.;
    long shown = 0;
    // The last frame may still be up when the run ends.
    for (std::size_t i = 0; i + 1 < screen.frames.size(); ++i) {
        const Screen::Frame& f = screen.frames[i];
        ++run.refreshesPerFrame[f.refreshes];
        run.skipped += f.refreshes == 0;
        run.repeated += f.refreshes > most;
        if (f.refreshes == 0)
            continue;
        if (lastShown >= 0.)
            errors.push_back(std::abs(f.firstShown - lastShown - kSixtieth) / 1e3);
        lastShown = f.firstShown;
        ++shown;
        latency += f.firstShown - f.stepped;
        run.maxLatencyMs = std::max(run.maxLatencyMs, (f.firstShown - f.stepped) / 1e3);
    }
    run.tears = screen.tears;
    run.p99IntervalErrorMs = percentile(errors, 0.99);
    run.meanLatencyMs = shown ? latency / static_cast<double>(shown) / 1e3 : 0.;
}
}  // namespace

double SimRun::timerDriftPerHour() const {
    return (static_cast<double>(steps) / kFramesPerSecond - seconds) / seconds * 3600.;
}

double SimRun::meanRefreshesPerFrame() const {
    double sum = 0., frames = 0.;
    for (const auto& [refreshes, n] : refreshesPerFrame) {
        sum += static_cast<double>(refreshes) * static_cast<double>(n);
        frames += static_cast<double>(n);
    }
    return frames > 0. ? sum / frames : 0.;
}

SimRun simulate(const SimDisplay& display, Pacing pacing, Sleeps sleeps, double minutes) {
    SimRun run;
    Screen screen(display);
    world = World{};
    world.sleeps = sleeps;
    world.screen = &screen;
    world.run = &run;
    const auto end = static_cast<std::int64_t>(minutes * 60. * kMicros);
    FramePacer todays(kSimClock);
    DisplayPacing paced(simSeam(display), kSimClock);
    while (world.now < end) {
        if (pacing == Pacing::Game)
            paced.follow(display.refreshHz);
        ++run.steps;
        world.stepped = world.now;
        world.now += uniform(1000, 6000);  // the step and its drawing
        if (pacing == Pacing::Game) {
            paced.show();
        } else {
            putUp(false);
            todays.endFrame();
        }
    }
    screen.finish(static_cast<double>(world.now));
    run.seconds = static_cast<double>(world.now) / kMicros;
    count(screen, display, run);
    return run;
}
