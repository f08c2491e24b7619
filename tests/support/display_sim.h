#pragma once

// A display simulated in time of its own, with no window: refreshes on a grid (or, variable,
// when frames come), swaps that wait for a refresh or go up at once, a compositor, sleeps that
// overshoot. The game's pacing is run against it frame by frame; what the display showed is
// counted. Shared by the pacing test and the pace bench.
#include <map>
#include <string>
#include <vector>

struct SimDisplay {
    enum Kind {
        Direct,         // the game's frame goes straight to the screen: an unsynced swap tears
        Composited,     // a compositor shows the newest frame at each refresh
        Variable,       // variable refresh, from 48 Hz up to refreshHz, started by each frame
        IgnoresSync,    // a driver that takes a swap interval and goes on swapping at once
        NoSwapControl,  // a driver with no swap control at all
    };
    const char* name;
    double refreshHz;
    Kind kind = Direct;
    double driftPpm = 0.;  // how much slower its refresh runs than its mode says
};

// How sleeps end: as Linux's do (50 to 150 µs late), or as a Windows sleep of whole
// milliseconds does (a millisecond early to two late).
enum class Sleeps { Linux, Windows };

// Today's way: the frames go up at once, the game's clock paces after each. The game's
// way: DisplayPacing, following the display's refresh.
enum class Pacing { Today, Game };

struct SimRun {
    std::map<int, long> refreshesPerFrame;  // refreshes a frame stayed up: how many frames
    long steps = 0;
    long tears = 0;     // frames put up while the display was sending out a picture
    long skipped = 0;   // frames never shown
    long repeated = 0;  // frames shown for more refreshes than the display's cadence has
    double seconds = 0.;
    double p99IntervalErrorMs = 0.;  // |time between frames shown - a sixtieth|, 99th percentile
    double meanLatencyMs = 0.;       // from a step to the refresh first showing it
    double maxLatencyMs = 0.;
    std::vector<int> intervalsAsked;
    std::vector<std::string> reported;  // what the pacing said, in order

    double stepsPerSecond() const { return static_cast<double>(steps) / seconds; }
    // How far the timer, which counts steps, is from the wall clock after an hour, in seconds.
    double timerDriftPerHour() const;
    double meanRefreshesPerFrame() const;
    double perMinute(long count) const { return static_cast<double>(count) * 60. / seconds; }
};

SimRun simulate(const SimDisplay& display, Pacing pacing, Sleeps sleeps, double minutes);
