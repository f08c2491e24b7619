#include "app/pacing.h"
#include "app/world.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// A clock that moves only when told: by a frame's work, or by a sleep and its overshoot.
std::int64_t fakeNow = 0;
std::int64_t fakeOvershoot = 0;
int sleeps = 0;

const PaceClock kFakeClock{
    [] { return fakeNow; },
    [](std::int64_t micros) {
        EXPECT_GT(micros, 0) << "asked to sleep for nothing";
        fakeNow += micros + fakeOvershoot;
        ++sleeps;
    },
};

std::int64_t gridPoint(std::int64_t frame) { return frame * 1'000'000 / kFramesPerSecond; }

// Runs frames that each take `work` microseconds; returns when each one ended.
std::vector<std::int64_t> run(FramePacer& pacer, const std::vector<std::int64_t>& work) {
    std::vector<std::int64_t> ends;
    for (const std::int64_t w : work) {
        fakeNow += w;
        pacer.endFrame();
        ends.push_back(fakeNow);
    }
    return ends;
}
}  // namespace

TEST(FramePacer, EndsFramesOnTheirScheduleAndStartsItAgainAfterAStall) {
    const struct {
        const char* what;
        std::vector<std::int64_t> work;
        std::vector<std::int64_t> endsAt;  // microseconds from the start
    } cases[] = {
        {"light frames wait out their sixtieth", {5000, 1000, 16000}, {gridPoint(1), gridPoint(2), gridPoint(3)}},
        {"a slow frame ends late, and the next one short, back on the grid",
         {5000, 20000, 5000, 5000}, {gridPoint(1), gridPoint(1) + 20000, gridPoint(3), gridPoint(4)}},
        {"a frame a whole frame or more late starts the schedule again from its end: no burst",
         {5000, 40000, 5000, 5000},
         {gridPoint(1), gridPoint(1) + 40000, gridPoint(1) + 40000 + gridPoint(1), gridPoint(1) + 40000 + gridPoint(2)}},
        {"a machine too slow for the rate runs at its own", {25000, 25000, 25000, 25000}, {25000, 50000, 75000, 100000}},
        {"a frame ending on a deadline does not sleep", {gridPoint(1)}, {gridPoint(1)}},
    };
    for (const auto& c : cases) {
        fakeNow = 0;
        fakeOvershoot = 0;
        FramePacer pacer(kFakeClock);
        EXPECT_EQ(run(pacer, c.work), c.endsAt) << c.what;
    }
}

// Every sleep overshoots; the frames still end on their deadlines, ten minutes on.
TEST(FramePacer, OvershootingSleepsNeverAddUp) {
    fakeNow = 123456789;
    fakeOvershoot = 1500;
    sleeps = 0;
    FramePacer pacer(kFakeClock);
    const std::int64_t start = fakeNow;
    constexpr int kFrames = 10 * 60 * kFramesPerSecond;
    for (int frame = 1; frame <= kFrames; ++frame) {
        fakeNow += frame * 7919 % 12000;  // work of 0 to 12 ms, in no order
        pacer.endFrame();
        const std::int64_t late = fakeNow - start - gridPoint(frame);
        ASSERT_TRUE(late >= 0 && late <= fakeOvershoot) << "frame " << frame << " ended " << late << " us off its deadline";
    }
    EXPECT_EQ(sleeps, kFrames) << "one sleep a frame, no waiting in a loop";
}
