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
    if (now >= deadline(frame_ + 1))  // stalled: wait for the first deadline still ahead
        frame_ = (now - start_) * kFramesPerSecond / kMicrosPerSecond + 1;
    if (now < deadline(frame_))
        clock_.sleep(deadline(frame_) - now);
}
