#include "app/pacing.h"
#include "app/world.h"
#include "display_sim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
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

TEST(SyncPlan, TheDisplayPacesWhereItsRefreshIsAWholeMultipleOfTheGamesRate) {
    const struct {
        double hz;
        SyncPlan plan;
    } cases[] = {
        {60., {1, false}},       {59.94, {1, false}},    {59.71, {1, false}},  {60.29, {1, false}},
        {119.88, {2, false}},    {120., {2, false}},     {119.45, {2, false}}, {240., {4, false}},   {180., {3, false}},
        {59.69, {0, true}},      {60.31, {1, true}},     {75., {1, true}},     {144., {1, true}},
        {165., {1, true}},       {100., {1, true}},      {50., {0, true}},     {48., {0, true}},
        {30., {0, true}},        {0., {0, true}},        {-60., {0, true}},    {1e300, {0, true}},
        {std::nan(""), {0, true}},
    };
    for (const auto& c : cases) {
        const SyncPlan plan = syncPlan(c.hz);
        EXPECT_TRUE(plan == c.plan) << c.hz << " Hz: swap interval " << plan.swapInterval << (plan.timerPaces ? " with" : " without")
                                    << " the clock, wanted " << c.plan.swapInterval << (c.plan.timerPaces ? " with" : " without");
    }
}

namespace {
constexpr double kMinutes = 10.;
std::string histogram(const SimRun& run) {
    std::string s;
    for (const auto& [refreshes, frames] : run.refreshesPerFrame)
        s += std::to_string(refreshes) + " refreshes: " + std::to_string(frames) + " frames; ";
    return s;
}
}  // namespace

// Ten minutes on each display: how many refreshes each frame stays up, and no tear where
// the game asked for sync; one step a frame, and the timer's drift where the display paces.
TEST(DisplayPacing, EveryFrameShownInStepWithTheDisplay) {
    const struct {
        SimDisplay display;
        std::vector<int> cadence;  // the only refreshes a frame may stay up for
        double meanRefreshes;
        double driftPerHour;  // seconds the timer is off the wall clock in an hour
    } cases[] = {
        {{"59.94 Hz", 59.94}, {1}, 1., -3.6},
        {{"60 Hz", 60.}, {1}, 1., 0.},
        {{"60 Hz, 50 ppm slow", 60., SimDisplay::Direct, 50.}, {1}, 1., -0.18},
        {{"119.88 Hz", 119.88}, {2}, 2., -3.6},
        {{"240 Hz", 240.}, {4}, 4., 0.},
        {{"75 Hz", 75.}, {1, 2}, 1.25, 0.},
        {{"144 Hz", 144.}, {2, 3}, 2.4, 0.},
        {{"165 Hz", 165.}, {2, 3}, 2.75, 0.},
        {{"59.94 Hz, composited", 59.94, SimDisplay::Composited}, {1}, 1., -3.6},
        {{"variable, 48 to 144 Hz", 144., SimDisplay::Variable}, {1}, 1., 0.},
    };
    for (const auto& c : cases) {
        const SimRun run = simulate(c.display, Pacing::Game, Sleeps::Linux, kMinutes);
        for (const auto& [refreshes, frames] : run.refreshesPerFrame)
            EXPECT_NE(std::find(c.cadence.begin(), c.cadence.end(), refreshes), c.cadence.end())
                << c.display.name << ": " << frames << " frames up for " << refreshes << " refreshes; " << histogram(run);
        EXPECT_NEAR(run.meanRefreshesPerFrame(), c.meanRefreshes, 0.01) << c.display.name << ": " << histogram(run);
        EXPECT_EQ(run.tears, 0) << c.display.name;
        EXPECT_EQ(run.skipped, 0) << c.display.name << ": steps never shown";
        // Within the part of a frame the run may end on.
        EXPECT_NEAR(run.timerDriftPerHour(), c.driftPerHour, 0.12) << c.display.name;
    }
}

// Where the display cannot pace, the game's clock keeps 60 steps a second: a display slower
// than the game, a driver without swap control, and one that ignores the interval asked.
TEST(DisplayPacing, TheClockKeepsTheGamesSpeedWhereTheDisplayCannot) {
    const struct {
        SimDisplay display;
        const char* said;  // the last thing the pacing says
    } cases[] = {
        {{"50 Hz", 50.}, "slower than the game"},
        {{"48 Hz", 48., SimDisplay::Composited}, "slower than the game"},
        {{"60 Hz without swap control", 60., SimDisplay::NoSwapControl}, "no swap control"},
        {{"60 Hz ignoring the interval", 60., SimDisplay::IgnoresSync}, "does not hold"},
        {{"120 Hz ignoring the interval", 120., SimDisplay::IgnoresSync}, "does not hold"},
    };
    for (const auto& c : cases) {
        const SimRun run = simulate(c.display, Pacing::Game, Sleeps::Linux, kMinutes);
        // Where sync is found not to hold, its check's second and a half ran at most a quarter fast.
        EXPECT_NEAR(run.stepsPerSecond(), kFramesPerSecond, 0.05) << c.display.name;
        ASSERT_FALSE(run.reported.empty()) << c.display.name;
        EXPECT_NE(run.reported.back().find(c.said), std::string::npos) << c.display.name << ": " << run.reported.back();
    }
}

// The game's own clock alone, as before, against a compositor at 59.94 Hz: frames dropped, in
// bursts while the two drift past each other, more than one in every thousand; letting the
// display pace drops none.
TEST(DisplayPacing, TheClockAloneDropsFramesAtNearlySixtyHertz) {
    const SimDisplay display{"59.94 Hz, composited", 59.94, SimDisplay::Composited};
    const SimRun today = simulate(display, Pacing::Today, Sleeps::Linux, kMinutes);
    EXPECT_GT(today.perMinute(today.skipped), 3.6) << histogram(today);
    EXPECT_EQ(simulate(display, Pacing::Game, Sleeps::Linux, kMinutes).skipped, 0);
}
