#include "core/colour_layout.h"

#include <gtest/gtest.h>

namespace {

using core::CUSTOM_ENTRY;
using core::DEFAULT_ENTRY;
using core::NO_ENTRY;

// Text sizes as the system's message font gives them for "Default" and "Other colors".
core::PopupPlacement standard(int x = 100, int y = 100) {
    core::PopupPlacement p;
    p.x = x;
    p.y = y;
    p.margin = 2;
    p.defaultText = {38, 13};
    p.customText = {62, 13};
    p.ownerHeight = 23;
    return p;
}

TEST(ColourLayout, CellSizeKeepsRoomForTheSwatch) {
    const int sizes[][2] = {{1, 18}, {2, 18}, {5, 18}, {6, 19}, {10, 27}};
    for (const auto& [margin, size] : sizes)
        EXPECT_EQ(core::boxSizeFor(margin), size) << margin;
}

TEST(ColourLayout, MarginTwoGivesA148PixelPopupWithTheGridUnderDefault) {
    core::PopupLayout l(standard());
    EXPECT_EQ(l.boxSize(), 18);
    EXPECT_EQ(l.windowRect().width(), 148);
    EXPECT_EQ(l.windowRect().left, 100);
    EXPECT_EQ(l.windowRect().top, 100);
    const int entryHeight = 13 + 4 * 2 + 2;
    EXPECT_EQ(l.defaultRect(), (core::Rect{2, 2, 146, 4 + entryHeight}));
    core::Rect first = l.cellRect(0);
    EXPECT_EQ(first.left, 2);
    EXPECT_EQ(first.top, l.defaultRect().bottom + 2);
    EXPECT_EQ(first.width(), 18);
    core::Rect last = l.cellRect(39);
    EXPECT_EQ(last.right, 146);
    EXPECT_EQ(last.top, first.top + 4 * 18);
    // "Other colors" sits under the grid, with the popup's edge below it.
    EXPECT_GT(l.customRect().top, last.bottom);
    EXPECT_EQ(l.customRect().bottom - l.customRect().top, 2 + entryHeight);
    EXPECT_EQ(l.windowRect().height(), 5 * 18 + 4 + 2 * (3 * 2 + entryHeight));
    EXPECT_EQ(l.customRect().bottom + 4, l.windowRect().height());
}

TEST(ColourLayout, LongTextsWidenThePopupAndNoTextsLeaveOnlyTheGrid) {
    core::PopupPlacement p = standard();
    p.customText = {200, 13};
    core::PopupLayout wide(p);
    EXPECT_EQ(wide.windowRect().width(), 204);
    EXPECT_EQ(wide.defaultRect().right, 202);

    p.hasDefault = p.hasCustom = false;
    p.defaultText = p.customText = {};
    core::PopupLayout bare(p);
    EXPECT_EQ(bare.windowRect().width(), 148);
    EXPECT_EQ(bare.windowRect().height(), 94);
    EXPECT_TRUE(bare.defaultRect().empty());
    EXPECT_EQ(bare.cellRect(0).top, 2);

    p.hasCustom = true;
    p.customText = {62, 13};
    core::PopupLayout customOnly(p);
    EXPECT_EQ(customOnly.cellRect(0).top, 2);
    EXPECT_EQ(customOnly.customRect().top, 94);
}

TEST(ColourLayout, NearTheRightEdgeThePopupShiftsLeftAndNearTheBottomItOpensAbove) {
    core::PopupLayout right(standard(950, 100));
    EXPECT_EQ(right.windowRect().right, 1024);
    EXPECT_EQ(right.windowRect().top, 100);

    core::PopupLayout left(standard(-30, 100));
    EXPECT_EQ(left.windowRect().left, 0);

    core::PopupLayout low(standard(100, 700));
    EXPECT_EQ(low.windowRect().bottom, 700 - 23); // flush with the button's top
    EXPECT_EQ(low.windowRect().left, 100);

    core::PopupLayout corner(standard(1000, 760));
    EXPECT_EQ(corner.windowRect().right, 1024);
    EXPECT_EQ(corner.windowRect().bottom, 760 - 23);

    core::PopupLayout fits(standard(876, 768 - 152));
    EXPECT_EQ(fits.windowRect().left, 876);
    EXPECT_EQ(fits.windowRect().bottom, 768);
}

TEST(ColourLayout, PointsHitTheEntryDrawnUnderThem) {
    core::PopupLayout l(standard());
    for (int i = 0; i < core::kColourCount; ++i) {
        core::Rect r = l.cellRect(i);
        EXPECT_EQ(l.entryAt(r.left, r.top), i);
        EXPECT_EQ(l.entryAt(r.right - 1, r.bottom - 1), i);
    }
    core::Rect d = l.defaultRect(), c = l.customRect();
    EXPECT_EQ(l.entryAt(d.left, d.top), DEFAULT_ENTRY);
    EXPECT_EQ(l.entryAt(d.right - 1, d.bottom - 1), DEFAULT_ENTRY);
    EXPECT_EQ(l.entryAt(c.left + 10, c.bottom - 1), CUSTOM_ENTRY);
    // The frame, the gap under "Default" and anything outside the popup hit nothing.
    EXPECT_EQ(l.entryAt(0, 50), NO_ENTRY);
    EXPECT_EQ(l.entryAt(50, d.bottom), NO_ENTRY);
    EXPECT_EQ(l.entryAt(-5, l.cellRect(0).top + 3), NO_ENTRY);
    EXPECT_EQ(l.entryAt(l.cellRect(7).right, l.cellRect(7).top + 3), NO_ENTRY);
    EXPECT_EQ(l.entryAt(50, l.cellRect(39).bottom), NO_ENTRY);
    EXPECT_EQ(l.entryAt(50, -40), NO_ENTRY);
}

} // namespace
