// The browser's frame cadence (src/app/web/cadence.h) on animation frames of simulated
// displays: which frames step, with the jitter real frame times have, after a hidden tab, and
// on displays slower than the game.
#include "app/web/cadence.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// `frames` animation frames of a display at `hz` from `from` ms, each off its refresh by up to
// `jitter` ms: '+' for a frame that steps, '.' for one that does not.
std::string run(FrameCadence& cadence, double hz, int frames, double from = 0., double jitter = 0.) {
    std::string seen;
    unsigned noise = 12345;
    for (int i = 0; i < frames; ++i) {
        noise = noise * 1103515245u + 12345u;
        const double off = jitter * ((noise >> 16) % 2001 / 1000. - 1.);
        seen += cadence.stepDue(from + i * 1000. / hz + off) ? '+' : '.';
    }
    return seen;
}

std::string repeat(const std::string& pattern, int times) {
    std::string all;
    while (times-- > 0)
        all += pattern;
    return all;
}
}  // namespace

TEST(WebCadence, OneStepEachSixtiethDrawnOnceAtEveryRefreshRate) {
    FrameCadence at60, at120, at144, at60Jittery, at120Jittery, at144Jittery;
    EXPECT_EQ(run(at60, 60., 600), repeat("+", 600));
    EXPECT_EQ(run(at120, 120., 1200), repeat("+.", 600));
    EXPECT_EQ(run(at144, 144., 1440), repeat("+.+..+.+..+.", 120));
    // A millisecond off at 60 and 120 Hz, a third of one at 144 Hz, where the frames come
    // closest to the steps' deadlines: not one step moves to another frame.
    EXPECT_EQ(run(at60Jittery, 60., 600, 0., 1.), repeat("+", 600));
    EXPECT_EQ(run(at120Jittery, 120., 1200, 0., 1.), repeat("+.", 600));
    EXPECT_EQ(run(at144Jittery, 144., 1440, 0., 0.3), repeat("+.+..+.+..+.", 120));
    EXPECT_NEAR(at144Jittery.refreshPeriod(), 1000. / 144., 0.05);
}

TEST(WebCadence, AfterAHiddenTabTheScheduleStartsAgainInsteadOfRacing) {
    FrameCadence at60, at120;
    run(at60, 60., 60);
    run(at120, 120., 120);
    // Ten seconds hidden: the first frame back steps once, then each frame as before.
    EXPECT_EQ(run(at60, 60., 120, 11000.), repeat("+", 120));
    EXPECT_EQ(run(at120, 120., 240, 11000.), repeat("+.", 120));
    // A stall of three frames loses their steps rather than taking them later.
    FrameCadence stalled;
    run(stalled, 60., 10);
    EXPECT_EQ(run(stalled, 60., 10, 12. * 1000. / 60.), repeat("+", 10));
}

TEST(WebCadence, DisplaysSlowerThanTheGameStepEveryFrame) {
    // 59.94 Hz: the game runs 0.1 % slow rather than drop a frame's step; 50 Hz: a fifth slow.
    FrameCadence at5994, at50;
    EXPECT_EQ(run(at5994, 60000. / 1001., 36000), repeat("+", 36000));
    EXPECT_EQ(run(at50, 50., 3000), repeat("+", 3000));
}
