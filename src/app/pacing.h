#pragma once

#include <cstdint>

// The pacer's only contacts with real time, in microseconds of a steady clock; tests
// swap in a fake one.
struct PaceClock {
    std::int64_t (*now)();
    void (*sleep)(std::int64_t micros);
};

PaceClock realPaceClock();

// Ends each frame on a fixed schedule of kFramesPerSecond a second counted from the
// first, so the rate is exact on average whatever each sleep overshoots: a frame that
// ends late leaves the next one less time, and after a stall of a whole frame or more
// the schedule starts again, dropping the frames it lost instead of racing through them.
class FramePacer {
public:
    explicit FramePacer(PaceClock clock = realPaceClock());
    // Call once a frame, after showing it: sleeps until the frame's deadline.
    void endFrame();

private:
    std::int64_t deadline(std::int64_t frame) const;

    PaceClock clock_;
    std::int64_t start_;      // when the schedule began
    std::int64_t frame_ = 0;  // the deadline the last frame ended on
};
