#include "app/screen.h"

#include <gtest/gtest.h>

TEST(Screen, TheWindowBelongsOnTheMonitorItCoversMostElseThePrimaryElseTheFirst) {
    const sf::IntRect panel(0, 0, 1366, 768), external(1366, 0, 1920, 1080), portrait(3286, 0, 1080, 1920);
    const sf::IntRect nowhere;
    const struct {
        const char* what;
        std::vector<Monitor> monitors;
        sf::IntRect window;
        sf::IntRect wanted;
    } cases[] = {
        {"at start, the primary", {{panel}, {external, true}}, nowhere, external},
        {"at start with none primary (a closed lid), the first on", {{external}, {portrait}}, nowhere, external},
        {"its monitor's mode changed, that monitor", {{panel, true}, {{1366, 0, 1366, 768}}}, external,
         {1366, 0, 1366, 768}},
        {"covering two, the one it covers most", {{panel, true}, {external}}, {1000, 0, 1920, 1080}, external},
        {"a monitor plugged in as the primary, where it was", {{panel, true}, {external}}, external, external},
        {"its monitor unplugged, the primary", {{panel}, {portrait, true}}, external, portrait},
        {"its monitor unplugged and none primary, the first", {{portrait}, {panel}}, external, portrait},
        {"no monitors, nowhere", {}, external, nowhere},
    };
    for (const auto& c : cases)
        EXPECT_EQ(monitorFor(c.monitors, c.window), c.wanted) << c.what;
}
