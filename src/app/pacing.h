#pragma once

#include <cstdint>
#include <functional>

// The pacer's only contacts with real time, in microseconds of a steady clock; tests
// swap in a fake one.
struct PaceClock {
    std::int64_t (*now)();
    void (*sleep)(std::int64_t micros);
};

PaceClock realPaceClock();

// Ends each frame on a fixed schedule of `framesPerSecond` a second counted from the
// first, so the rate is exact on average whatever each sleep overshoots: a frame that
// ends late leaves the next one less time, and after a stall of a whole frame or more
// the schedule starts again, dropping the frames it lost instead of racing through them.
class FramePacer {
public:
    explicit FramePacer(PaceClock clock = realPaceClock(), int framesPerSecond = 0);  // 0: the game's rate
    // Call once a frame, just before showing it: sleeps until the frame's deadline.
    void endFrame();

private:
    std::int64_t deadline(std::int64_t frame) const;

    PaceClock clock_;
    int rate_;
    std::int64_t start_;      // when the schedule began
    std::int64_t frame_ = 0;  // the deadline the last frame ended on
};

// How frames go up on a display: how many of its refreshes each one waits for (0: none,
// put up at once) and whether the game's own clock keeps the pace.
struct SyncPlan {
    int swapInterval = 0;
    bool timerPaces = true;
    bool operator==(const SyncPlan& other) const {
        return swapInterval == other.swapInterval && timerPaces == other.timerPaces;
    }
};

// The plan for a display refreshing `refreshHz` times a second (0: not known). Where the
// refresh is a whole multiple of the game's rate, within half a per cent, the display
// paces alone; faster displays wait for one refresh with the clock on top, so nothing
// tears; slower ones cannot show every frame, and the clock keeps the game's speed.
SyncPlan syncPlan(double refreshHz);

// The pacing's contacts with the display; tests swap in a simulated one.
struct SwapSeam {
    // Asks the driver for a swap interval; false where it offers no swap control.
    std::function<bool(int interval)> setInterval;
    // Puts the frame up; when `synced`, returns only once the display shows it, so at
    // most one frame is ever queued ahead of it.
    std::function<void(bool synced)> show;
    // Says what the pacing does, a line for the player's log.
    std::function<void(const char* line)> report;
};

// Shows each frame in step with the display the game is on, by its SyncPlan. Where the
// plan lets the display pace, the first frames' swaps are timed: frames coming faster
// than its refresh allows mean vertical sync does not hold (a driver that ignores it),
// and the game's clock takes over as where the driver offers no swap control at all.
class DisplayPacing {
public:
    explicit DisplayPacing(SwapSeam seam, PaceClock clock = realPaceClock());
    // The refresh of the game's monitor, each frame: planned anew when it changes.
    void follow(double refreshHz);
    // Shows the frame drawn: on its deadline where the clock paces, or at the display's refresh.
    void show();
    const SyncPlan& plan() const { return plan_; }

private:
    void judgeSync();

    SwapSeam seam_;
    PaceClock clock_;
    double refreshHz_ = -1.;
    SyncPlan plan_{};
    FramePacer pacer_;
    int checked_ = -1;  // frames timed so far in the sync check; -1 when none runs
    std::int64_t checkStart_ = 0;
};
