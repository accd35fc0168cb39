#include "core/bar_keys.h"

#include <gtest/gtest.h>

namespace {

using core::BarKey;

TEST(BarKeys, ShiftTurnsTabBackAndOnlyShiftF10OpensTheMenu) {
    EXPECT_EQ(core::barKeyOf(0x09, false), BarKey::Next);
    EXPECT_EQ(core::barKeyOf(0x09, true), BarKey::Previous);
    EXPECT_EQ(core::barKeyOf(0x79, true), BarKey::Menu);
    EXPECT_EQ(core::barKeyOf(0x79, false), BarKey::Other);
    EXPECT_EQ(core::barKeyOf(0x20, false), BarKey::Press);
}

TEST(BarKeys, TheFocusStartsOnTheActiveButtonElseTheFirst) {
    EXPECT_EQ(core::firstFocus(2, 3, 5), 2);
    // None active, or an active index the list no longer holds.
    EXPECT_EQ(core::firstFocus(-1, 3, 5), 0);
    EXPECT_EQ(core::firstFocus(3, 3, 5), 0);
    EXPECT_EQ(core::firstFocus(-1, 0, 0), -1);
}

TEST(BarKeys, ArrowsKeepToTheirGroupAndTabRunsThroughAll) {
    // Three browser buttons (0-2), then two own buttons (3, 4).
    struct Case {
        BarKey key;
        int from, to;
    } cases[] = {
        {BarKey::Right, 0, 1},    {BarKey::Right, 2, 2}, {BarKey::Left, 0, 0},  {BarKey::Left, 2, 1},
        {BarKey::Home, 2, 0},     {BarKey::End, 0, 2},   {BarKey::Right, 3, 4}, {BarKey::Left, 3, 3},
        {BarKey::Home, 4, 3},     {BarKey::Next, 2, 3},  {BarKey::Next, 4, 0},  {BarKey::Previous, 0, 4},
        {BarKey::Previous, 3, 2}, {BarKey::Press, 1, 1}, {BarKey::Right, 7, 4}, {BarKey::Next, -1, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(core::movedFocus(c.key, c.from, 3, 2), c.to)
            << static_cast<int>(c.key) << " from " << c.from;
    // With no browser buttons the arrows move among the own ones; with nothing there is no focus.
    EXPECT_EQ(core::movedFocus(BarKey::Right, 0, 0, 2), 1);
    EXPECT_EQ(core::movedFocus(BarKey::End, 0, 0, 2), 1);
    EXPECT_EQ(core::movedFocus(BarKey::Next, 0, 0, 0), -1);
}

} // namespace
