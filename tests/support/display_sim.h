#pragma once

// A display simulated in time of its own, no window: refreshes on a grid (or, variable, when
// frames come), swaps that wait for a refresh or go up at once, a compositor, sleeps that
// overshoot. The game's pacing runs against it frame by frame and what it showed is counted.
#include <map>
#include <string>
#include <vector>

struct SimDisplay {
    enum Kind {
        Direct,         // frames go straight to the screen: an unsynced swap tears
        Composited,     // a compositor shows the newest frame at each refresh
        Variable,       // variable refresh from 48 Hz up to refreshHz, started by each frame
        IgnoresSync,    // a driver that takes a swap interval and goes on swapping at once
        NoSwapControl,  // a driver with no swap control at all
    };
    const char* name;
    double refreshHz;
    Kind kind = Direct;
    double driftPpm = 0.;  // how much slower it refreshes than its mode says
};

// Sleeps end as Linux's do (50 to 150 µs late) or as a Windows sleep of whole milliseconds.
enum class Sleeps { Linux, Windows };
// Today's way: frames up at once, the game's clock pacing after each; or DisplayPacing.
enum class Pacing { Today, Game };

struct SimRun {
    std::map<int, long> refreshesPerFrame;  // refreshes a frame stayed up: how many frames did
    long steps = 0, tears = 0;
    long skipped = 0;   // frames never shown
    long repeated = 0;  // frames up for more refreshes than the display's cadence has
    double seconds = 0.;
    double p99IntervalErrorMs = 0.;  // |time between frames shown - a sixtieth|
    double meanLatencyMs = 0., maxLatencyMs = 0.;  // from a step to the refresh first showing it
    std::vector<std::string> reported;  // what the pacing said

    double stepsPerSecond() const { return static_cast<double>(steps) / seconds; }
    // Seconds the timer, which counts steps, is off the wall clock after an hour.
    double timerDriftPerHour() const;
    double meanRefreshesPerFrame() const;
    double perMinute(long count) const { return static_cast<double>(count) * 60. / seconds; }
};

SimRun simulate(const SimDisplay& display, Pacing pacing, Sleeps sleeps, double minutes);
