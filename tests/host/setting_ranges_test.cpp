#include "core/setting_ranges.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr core::ScreenSize kScreen{1024, 768};
constexpr int32_t kFace = 0x00C0C0C0;

struct Case {
    int32_t core::Settings::*field;
    int32_t stored;
    int32_t reads;
};

TEST(SettingRanges, EachNumberOutsideItsRangeReadsAsItsDefaultAndEachInsideStays) {
    const core::Settings d;
    const Case cases[] = {
        {&core::Settings::dockEdge, 1, 1},
        {&core::Settings::dockEdge, 0, 3},
        {&core::Settings::dockEdge, 2, 3},
        {&core::Settings::dockEdge, -1, 3},
        {&core::Settings::barsOn, 2, 2},
        {&core::Settings::barsOn, 3, 1},
        {&core::Settings::barsOn, -1, 1},
        {&core::Settings::barHeight, 10, 24},
        {&core::Settings::barHeight, -5, 24},
        {&core::Settings::barHeight, 100, 100},
        {&core::Settings::barHeight, 100000, 192},
        {&core::Settings::barHeight, INT_MAX, 192},
        {&core::Settings::hotKeyHide, 0, 0},
        {&core::Settings::hotKeyHide, 0x00070041, 0x00070041},
        {&core::Settings::hotKeyHide, 0x00080041, d.hotKeyHide},
        {&core::Settings::hotKeyNew, 0x00030100, d.hotKeyNew},
        {&core::Settings::hotKeyNew, -1, d.hotKeyNew},
        {&core::Settings::hotKeyFocus, 0x00030100, d.hotKeyFocus},
        {&core::Settings::buttonTextColor, 0x00FFFFFF, 0x00FFFFFF},
        {&core::Settings::buttonTextColor, 0x01000000, 0},
        {&core::Settings::activeButtonColor, -1, core::kActiveButtonDefault},
        {&core::Settings::barBackgroundColor, 0x02123456, kFace},
        {&core::Settings::fontHeight, -256, -256},
        {&core::Settings::fontHeight, 0, 0},
        {&core::Settings::fontHeight, -100000, -11},
        {&core::Settings::fontHeight, 257, -11},
        {&core::Settings::fontWeight, 1000, 1000},
        {&core::Settings::fontWeight, 1001, 400},
        {&core::Settings::fontWeight, -1, 400},
        // Of the font's italic and charset only the low byte is used.
        {&core::Settings::fontCharset, 0x1FF, 0x1FF},
    };
    for (const Case& c : cases) {
        core::Settings s;
        s.barBackgroundColor = kFace;
        s.*c.field = c.stored;
        core::keepInRange(s, kScreen, kFace);
        EXPECT_EQ(s.*c.field, c.reads) << c.stored;
    }
}

TEST(SettingRanges, TheAlignmentRectangleEndsOnTheScreen) {
    struct Rect {
        int32_t left, top, width, height;
    };
    const std::pair<Rect, Rect> cases[] = {
        {{0, 0, 700, 500}, {0, 0, 700, 500}},
        {{324, 268, 700, 500}, {324, 268, 700, 500}},   // exactly to the corner
        {{-50000, 100000, 700, 500}, {0, 0, 700, 500}}, // far off: back to the default start
        {{900, 0, 700, 500}, {900, 0, 124, 500}},       // neither the size nor the default fits from there
        {{0, 0, 0, -10}, {0, 0, 700, 500}},             // empty and inverted sizes
        {{0, 0, INT_MAX, INT_MAX}, {0, 0, 700, 500}},   // no wrap-around into an accepted size
        {{1024, 768, 700, 500}, {1024, 768, 1, 1}},     // at the far edge: the least window
    };
    for (const auto& [stored, reads] : cases) {
        core::Settings s;
        s.alignLeft = stored.left;
        s.alignTop = stored.top;
        s.alignWidth = stored.width;
        s.alignHeight = stored.height;
        core::keepInRange(s, kScreen, kFace);
        EXPECT_EQ(s.alignLeft, reads.left) << stored.left;
        EXPECT_EQ(s.alignTop, reads.top) << stored.top;
        EXPECT_EQ(s.alignWidth, reads.width) << stored.width;
        EXPECT_EQ(s.alignHeight, reads.height) << stored.height;
    }
}

TEST(SettingRanges, EveryStoredNumberHasARange) {
    EXPECT_TRUE(core::everyNumberHasARange());
}

TEST(SettingRanges, TheStripIsAtMostAQuarterOfTheMonitorAndNeverInverted) {
    const int32_t cases[][3] = {{24, 768, 24},      {36, 768, 36}, {192, 768, 192}, {193, 768, 192},
                                {100000, 768, 192}, {0, 768, 1},   {-40, 768, 1},   {24, 2, 1}};
    for (const auto& [requested, monitor, strip] : cases)
        EXPECT_EQ(core::saneStripHeight(requested, monitor), strip) << requested << " on " << monitor;
}

} // namespace
