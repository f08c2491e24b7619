#include "app/pacing.h"

#include "app/world.h"

#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

namespace {
constexpr std::int64_t kMicrosPerSecond = 1'000'000;
}  // namespace

PaceClock realPaceClock() {
    return PaceClock{
        [] {
            static const sf::Clock clock;
            return static_cast<std::int64_t>(clock.getElapsedTime().asMicroseconds());
        },
        [](std::int64_t micros) { sf::sleep(sf::microseconds(micros)); },
    };
}

FramePacer::FramePacer(PaceClock clock) : clock_(clock), start_(clock.now()) {}

// From the start each time, so no rounding of a sixtieth adds up.
std::int64_t FramePacer::deadline(std::int64_t frame) const {
    return start_ + frame * kMicrosPerSecond / kFramesPerSecond;
}

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
