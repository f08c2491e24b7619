#include "app/web/cadence.h"

#include "app/world.h"

namespace {
// How fast the measured refresh follows the frames: a frame the browser skips moves it little.
constexpr double kSmoothing = 1. / 8.;
}  // namespace

FrameCadence::FrameCadence(int stepsPerSecond)
    : step_(1000. / (stepsPerSecond > 0 ? stepsPerSecond : kFramesPerSecond)), period_(step_) {}

bool FrameCadence::stepDue(double nowMs) {
    const double gap = nowMs - last_;
    // A gap of two steps or more is a stall or a hidden tab, not the display's refresh.
    if (taken_ >= 0 && gap > 0. && gap < 2. * step_) {
        period_ = timed_ ? period_ + (gap - period_) * kSmoothing : gap;
        timed_ = true;
    }
    last_ = nowMs;
    const auto dueAt = [this](std::int64_t step) { return start_ + static_cast<double>(step) * step_ - period_ / 2.; };
    if (taken_ >= 0 && nowMs < dueAt(taken_))
        return false;
    // The first frame, or a whole step behind: the schedule starts again from here, so the
    // steps lost while the tab was hidden or the page stalled are not raced through.
    if (taken_ < 0 || nowMs >= dueAt(taken_ + 1)) {
        start_ = nowMs;
        taken_ = 0;
    }
    ++taken_;
    return true;
}
