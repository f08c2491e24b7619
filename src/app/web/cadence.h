#pragma once

#include <cstdint>

// When the browser's animation frames, which come at the display's refresh whatever it is,
// take a step of play: one each sixtieth of a second and at most one a frame, so each step is
// drawn once. A step falls due half a refresh before its time, so the schedule's deadlines sit
// between frames rather than on them, where the frames' jitter would move steps from one to
// the next: at 60 Hz every frame steps, at 120 Hz every other, at 144 Hz five in twelve, 2, 3,
// 2, 3 and 2 frames apart.
class FrameCadence {
public:
    explicit FrameCadence(int stepsPerSecond = 0);  // 0: the game's rate
    // Called once each animation frame with its time in milliseconds: whether to step and draw.
    bool stepDue(double nowMs);
    // The display's refresh period as measured from the frames so far, in milliseconds.
    double refreshPeriod() const { return period_; }

private:
    double step_;           // a step's length
    double period_;         // taken as one step until frames have been timed
    bool timed_ = false;    // whether period_ was measured yet
    double start_ = 0.;     // when the schedule began
    std::int64_t taken_ = -1;  // steps taken since; -1 before the first frame
    double last_ = 0.;      // the previous frame's time
};
