#include "app/pacing.h"

#include "app/platform.h"
#include "app/world.h"

#include <SFML/System/Clock.hpp>

#include <cmath>
#include <cstdio>
#include <utility>

namespace {
constexpr std::int64_t kMicrosPerSecond = 1'000'000;
// How far a refresh may be from a whole multiple of the game's rate and still pace it:
// 59.94 and 119.88 Hz are, and the timer then runs 0.1 % slow rather than drop a frame.
constexpr double kSyncTolerance = 0.005;
// Refresh rates no display has: a reading there is taken for no reading.
constexpr double kHighestRefresh = 1000.;
// The sync check: this many frames timed, while the clock holds them to at most this rate
// (a quarter fast at worst, were sync not to hold), and each must have taken this much of
// the refresh's period on average for sync to hold. A loaded machine only makes them slower.
constexpr int kCheckFrames = 90;
constexpr int kCheckRate = 75;
constexpr double kSyncHolds = 0.95;

bool refreshKnown(double refreshHz) { return refreshHz > 0. && refreshHz < kHighestRefresh; }
}  // namespace

PaceClock realPaceClock() {
    return PaceClock{
        [] {
            static const sf::Clock clock;
            return static_cast<std::int64_t>(clock.getElapsedTime().asMicroseconds());
        },
        sleepMicros,
    };
}

FramePacer::FramePacer(PaceClock clock, int framesPerSecond)
    : clock_(clock), rate_(framesPerSecond > 0 ? framesPerSecond : kFramesPerSecond), start_(clock.now()) {}

// From the start each time, so no rounding of a frame's length adds up.
std::int64_t FramePacer::deadline(std::int64_t frame) const { return start_ + frame * kMicrosPerSecond / rate_; }

void FramePacer::endFrame() {
    const std::int64_t now = clock_.now();
    ++frame_;
    // A whole frame or more behind: the schedule starts again from here, so the lost
    // frames are not raced through, and a machine too slow for the rate runs as fast as
    // it can rather than in whole multiples of a frame.
    if (now >= deadline(frame_ + 1)) {
        start_ = now;
        frame_ = 0;
    } else if (now < deadline(frame_)) {
        clock_.sleep(deadline(frame_) - now);
    }
}

SyncPlan syncPlan(double refreshHz) {
    if (!refreshKnown(refreshHz))
        return {0, true};
    const double multiple = std::round(refreshHz / kFramesPerSecond);
    if (multiple >= 1. && std::abs(refreshHz - multiple * kFramesPerSecond) <= kSyncTolerance * multiple * kFramesPerSecond)
        return {static_cast<int>(multiple), false};
    if (refreshHz > kFramesPerSecond)
        return {1, true};
    return {0, true};
}

DisplayPacing::DisplayPacing(SwapSeam seam, PaceClock clock) : seam_(std::move(seam)), clock_(clock), pacer_(clock) {}

void DisplayPacing::follow(double refreshHz) {
    if (refreshHz == refreshHz_)
        return;
    refreshHz_ = refreshHz;
    plan_ = syncPlan(refreshHz);
    char line[200];
    const bool controlled = seam_.setInterval(plan_.swapInterval);
    if (!refreshKnown(refreshHz))
        std::snprintf(line, sizeof line, "the monitor's refresh rate is not known: the game's clock paces, frames go up at once");
    else if (!controlled && plan_.swapInterval > 0) {
        plan_ = SyncPlan{};
        std::snprintf(line, sizeof line, "monitor at %.3f Hz, no swap control in the driver: the game's clock paces, frames go up at once", refreshHz);
    } else if (!plan_.timerPaces)
        std::snprintf(line, sizeof line, "monitor at %.3f Hz: each frame waits for %d refresh%s, the display paces", refreshHz,
                      plan_.swapInterval, plan_.swapInterval == 1 ? "" : "es");
    else if (plan_.swapInterval > 0)
        std::snprintf(line, sizeof line, "monitor at %.3f Hz: each frame waits for a refresh, the game's clock paces", refreshHz);
    else
        std::snprintf(line, sizeof line, "monitor at %.3f Hz, slower than the game: the game's clock paces, frames go up at once", refreshHz);
    seam_.report(line);
    // While the check runs the clock only caps the rate; it has the pace again if sync fails.
    pacer_ = FramePacer(clock_, plan_.timerPaces ? kFramesPerSecond : kCheckRate);
    checked_ = plan_.timerPaces ? -1 : 0;
}

// A frame that waits for a refresh goes up on the clock's deadline, so it meets the same
// refresh of the cadence however long it took to draw. One that goes up at once goes up as
// soon as it is drawn, the clock waiting after it: put up after the wait, under Xvfb the game
// lost a frame in four hundred (pace_bench).
void DisplayPacing::show() {
    const bool synced = plan_.swapInterval > 0, paced = plan_.timerPaces || checked_ >= 0;
    if (paced && synced)
        pacer_.endFrame();
    seam_.show(synced);
    if (paced && !synced)
        pacer_.endFrame();
    if (checked_ >= 0)
        judgeSync();
}

void DisplayPacing::judgeSync() {
    const std::int64_t now = clock_.now();
    if (checked_++ == 0)
        checkStart_ = now;
    if (checked_ <= kCheckFrames)
        return;
    checked_ = -1;
    const double period = static_cast<double>(kMicrosPerSecond) * plan_.swapInterval / refreshHz_;
    if (static_cast<double>(now - checkStart_) >= kSyncHolds * kCheckFrames * period)
        return;
    plan_.timerPaces = true;
    pacer_ = FramePacer(clock_);
    seam_.report("vertical sync does not hold here: the game's clock paces");
}
