#include "core/monitor_bars.h"

#include <gtest/gtest.h>

#include "core/settings.h"

namespace {

using Bars = std::vector<int>;

TEST(MonitorBars, TheSettingAndTheMonitorsThereNowGiveTheBarsMainFirst) {
    const std::vector<core::MonitorInfo> two = {{"\\\\.\\DISPLAY2", {1024, 0, 1824, 600}, false},
                                                {"\\\\.\\DISPLAY1", {0, 0, 1024, 768}, true}};
    const std::vector<core::MonitorInfo> unmarked = {{"A", {}, false}, {"B", {}, false}};
    struct Case {
        const char* what;
        const std::vector<core::MonitorInfo>& monitors;
        int32_t barsOn;
        const char* chosen;
        Bars bars;
    } const cases[] = {
        {"every monitor, primary first", two, core::kBarsOnEvery, "", {1, 0}},
        {"primary only", two, core::kBarsOnPrimary, "\\\\.\\DISPLAY2", {1}},
        {"the chosen one", two, core::kBarsOnChosen, "\\\\.\\DISPLAY2", {0}},
        {"a chosen one that is gone", two, core::kBarsOnChosen, "\\\\.\\DISPLAY3", {1}},
        {"none chosen", two, core::kBarsOnChosen, "", {1}},
        {"an unknown value", two, 7, "", {1, 0}},
        {"no primary named", unmarked, core::kBarsOnEvery, "", {0, 1}},
        {"no monitor", {}, core::kBarsOnEvery, "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::barsToMake(c.monitors, c.barsOn, c.chosen), c.bars) << c.what;
}

TEST(MonitorBars, AWindowIsOnTheMonitorItOverlapsMostAndUnknownWhenItOverlapsNone) {
    const std::vector<core::Rect> monitors = {{0, 0, 1024, 768}, {1024, 0, 1824, 600}, {-800, 0, 0, 600}};
    struct Case {
        core::Rect window;
        int monitor;
    } const cases[] = {
        {{100, 100, 400, 300}, 0},
        {{900, 100, 1300, 300}, 1},   // more of it on the right-hand one
        {{874, 100, 1174, 300}, 0},   // half and half: the first listed
        {{-8, -8, 1032, 776}, 0},     // maximised, its frame over the edges
        {{1100, 620, 1300, 700}, -1}, // below the smaller one, on none: the system names the nearest
        {{-32000, -32000, -31840, -31972}, -1},
        {{100, 100, 100, 300}, -1}, // no width
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::monitorOverlappedMost(monitors, c.window), c.monitor)
            << c.window.left << "," << c.window.top;
    EXPECT_EQ(core::monitorOverlappedMost({}, {0, 0, 10, 10}), -1);
}

TEST(MonitorBars, AWindowShowsOnItsMonitorsBarOrOnTheMainOneWhenItsMonitorHasNone) {
    const std::vector<int> withBars = {1, 2};
    struct Case {
        bool byMonitor;
        int window, strip;
        bool main, shows;
    } const cases[] = {
        {true, 1, 1, true, true},   {true, 2, 1, true, false}, {true, 2, 2, false, true},
        {true, 1, 2, false, false}, {true, 3, 1, true, true},  {true, 3, 2, false, false},
        {true, 0, 1, true, true},   {false, 2, 1, true, true}, {false, 1, 2, false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::stripShows(c.byMonitor, c.window, c.strip, c.main, withBars), c.shows)
            << c.window << " on " << c.strip;
}

} // namespace
