#include "core/button_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using core::Point;
using core::Rect;

struct Entry {
    Rect buttonRect;
};
struct Buttons {
    std::vector<Entry> entries;
};

Buttons laidOut(const Rect& client, int n) {
    Buttons b;
    for (const Rect& r : core::layoutButtons(client, n))
        b.entries.push_back({r});
    return b;
}

const Rect kClient1000{0, 0, 1000, 24};

TEST(ButtonLayout, FourButtonsOnAThousandPixelsAreCappedAt160) {
    std::vector<Rect> r = core::layoutButtons(kClient1000, 4);
    ASSERT_EQ(r.size(), 4u);
    const int lefts[] = {54, 216, 378, 540};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(r[i].left, lefts[i]);
        EXPECT_EQ(r[i].right - r[i].left, 160);
        EXPECT_EQ(r[i].top, 3);
        EXPECT_EQ(r[i].bottom, 21);
    }
}

TEST(ButtonLayout, TenButtonsShareTheAreaLessTheGap) {
    std::vector<Rect> r = core::layoutButtons(kClient1000, 10);
    ASSERT_EQ(r.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(r[i].left, 54 + 91 * i);
        EXPECT_EQ(r[i].right - r[i].left, 89);
    }
    EXPECT_EQ(r[9].right, 54 + 91 * 9 + 89);
    EXPECT_LE(r[9].right, 1000 - 32);
}

TEST(ButtonLayout, TheBarsOwnButtonsKeepTheirRoomAtBothEnds) {
    EXPECT_EQ(core::buttonArea({0, 0, 1024, 24}), (Rect{54, 3, 992, 21}));
    std::vector<Rect> r = core::layoutButtons({0, 0, 1024, 24}, 3);
    EXPECT_EQ(r[2].left, 54 + 2 * 162);
    EXPECT_TRUE(core::layoutButtons({0, 0, 1024, 24}, 0).empty());
}

TEST(ButtonLayout, ACrowdedNarrowBarGivesButtonsNoWidthAndTheyAreNeverHit) {
    // 100 pixels leave an area of 14: (14 / 10) - 2 = -1.
    Buttons b = laidOut({0, 0, 100, 24}, 10);
    EXPECT_EQ(b.entries[0].buttonRect.right - b.entries[0].buttonRect.left, -1);
    EXPECT_EQ(core::buttonWidth(core::buttonArea({0, 0, 100, 24}), 7), 0);
    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(core::hitButton(b, {x, 10}), -1) << x;
    // A bar narrower than both reserves: the area is -26 wide, and -26 / 4 truncates to -6 (not -7).
    EXPECT_EQ(core::buttonWidth(core::buttonArea({0, 0, 60, 24}), 4), -8);
}

TEST(ButtonHit, EdgesAreHalfOpenAndTheGapHitsNothing) {
    Buttons b = laidOut(kClient1000, 4);
    const int hits[][3] = {{54, 3, 0},    {213, 20, 0}, {214, 10, -1}, {215, 10, -1}, {216, 10, 1},
                           {300, 21, -1}, {300, 2, -1}, {53, 10, -1},  {900, 10, -1}};
    for (const auto& [x, y, button] : hits)
        EXPECT_EQ(core::hitButton(b, {x, y}), button) << x << "," << y;
    Buttons none;
    EXPECT_EQ(core::hitButton(none, {100, 10}), -1);
}

TEST(ButtonHit, BeforeTheFirstPaintNothingIsHit) {
    Buttons b;
    b.entries.resize(3);
    EXPECT_EQ(core::hitButton(b, {0, 0}), -1);
    EXPECT_EQ(core::hitButton(b, {60, 10}), -1);
}

TEST(CloseGlyph, DrawnNineSquareAndAnsweringInASlightlyLargerCorner) {
    Rect button{54, 3, 214, 21};
    EXPECT_EQ(core::glyphOrigin(button).x, 203);
    EXPECT_EQ(core::glyphOrigin(button).y, 5);
    EXPECT_EQ(core::textRect(button), (Rect{58, 3, 211, 21}));
    EXPECT_TRUE(core::onCloseGlyph(button, {203, 3}, true));
    EXPECT_TRUE(core::onCloseGlyph(button, {213, 14}, true));
    EXPECT_FALSE(core::onCloseGlyph(button, {202, 10}, true));
    EXPECT_FALSE(core::onCloseGlyph(button, {210, 15}, true));
    EXPECT_FALSE(core::onCloseGlyph(button, {210, 8}, false));
}

// What a partial repaint must cover: a wide button is its rectangle; a narrow, empty or inverted one still
// owns the glyph that sticks out to its left.
TEST(CloseGlyph, ThePaintedExtentCoversAGlyphStickingOutOfANarrowButton) {
    EXPECT_EQ(core::paintedExtent(Rect{54, 3, 214, 21}), (Rect{54, 3, 214, 21}));
    EXPECT_EQ(core::paintedExtent(Rect{100, 3, 105, 21}), (Rect{94, 3, 105, 21}));
    EXPECT_EQ(core::paintedExtent(Rect{100, 3, 100, 21}), (Rect{89, 3, 100, 21}));
    EXPECT_EQ(core::paintedExtent(Rect{100, 3, 96, 21}), (Rect{85, 3, 100, 21}));
}

TEST(CloseGlyph, ShownOnEveryButtonOrOnlyOnTheActiveOne) {
    EXPECT_TRUE(core::glyphShown(true, false, false));
    EXPECT_TRUE(core::glyphShown(true, true, true));
    EXPECT_FALSE(core::glyphShown(true, true, false));
    EXPECT_FALSE(core::glyphShown(false, false, true));
}

// A repaint of a few columns finds its buttons by arithmetic; it must name exactly the buttons whose painted
// extent a walk over all of them would find there, on roomy, crowded and stacked bars alike.
TEST(ButtonRow, TheButtonsMeetingSomeColumnsAreThoseAWalkFinds) {
    const Rect client{0, 0, 1024, 24};
    for (int n : {1, 4, 10, 200, 313, 469, 938, 939, 1000}) {
        core::ButtonRow row = core::buttonRow(client, n);
        std::vector<Rect> all = core::layoutButtons(client, n);
        ASSERT_EQ(row.at(n - 1), all.back()) << n;
        for (int x0 : {0, 40, 54, 57, 300, 991, 1000})
            for (int width : {1, 3, 160, 2000}) {
                std::pair<int, int> got = row.meeting(x0, x0 + width);
                int begin = n, end = 0;
                for (int i = 0; i < n; ++i) {
                    Rect e = core::paintedExtent(all[static_cast<size_t>(i)]);
                    if (e.left < x0 + width && e.right > x0) {
                        begin = std::min(begin, i);
                        end = i + 1;
                    }
                }
                if (end == 0) begin = 0;
                EXPECT_EQ(got, std::make_pair(begin, end))
                    << n << " buttons, columns from " << x0 << " + " << width;
            }
    }
}

TEST(ButtonRow, StackedButtonsDrawOnlyTheLastAndTheLastShowingAGlyph) {
    core::ButtonRow stacked = core::buttonRow({0, 0, 1024, 24}, 1000);
    ASSERT_EQ(stacked.step, 0);
    EXPECT_EQ(core::buttonsToDraw(stacked, 0, 1000, -1), (std::vector<int>{999}));
    EXPECT_EQ(core::buttonsToDraw(stacked, 0, 1000, 999), (std::vector<int>{999}));
    EXPECT_EQ(core::buttonsToDraw(stacked, 0, 1000, 400), (std::vector<int>{400, 999}));
    core::ButtonRow spread = core::buttonRow({0, 0, 1024, 24}, 200);
    EXPECT_EQ(core::buttonsToDraw(spread, 5, 8, 6), (std::vector<int>{5, 6, 7}));
}

TEST(ButtonLayout, AtOneAndAHalfTimesTheDpiEveryFigureScalesRoundedAwayFromZero) {
    EXPECT_EQ(core::scaleForDpi(3, 144), 5);     // 4.5
    EXPECT_EQ(core::scaleForDpi(-11, 144), -17); // the default font height, -16.5
    EXPECT_EQ(core::unscaleForDpi(-17, 144), -11);
    EXPECT_EQ(core::scaleForDpi(24, 96), 24);
    const Rect client{0, 0, 1024, 36};
    std::vector<Rect> r = core::layoutButtons(client, 2, 144);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], (Rect{81, 5, 321, 31})); // 54, 3 and 160 scaled
    EXPECT_EQ(r[1].left, 321 + 3);           // the gap of 2 scaled
    EXPECT_EQ(core::textRect(r[0], 144), (Rect{87, 5, 316, 31}));
    const Point glyph = core::glyphOrigin(r[0], 144);
    EXPECT_EQ(glyph.x, 321 - 17);
    EXPECT_EQ(glyph.y, 5 + 3);
    EXPECT_EQ(core::glyphSize(144), 14);
    EXPECT_TRUE(core::onCloseGlyph(r[0], {321 - 17, 5 + 17}, true, 144));
    EXPECT_FALSE(core::onCloseGlyph(r[0], {321 - 18, 5 + 17}, true, 144));
}

TEST(ButtonLayout, PicturesAreTheLargestDrawingThatFitsTheirRoom) {
    const int scales[][2] = {{96, 100}, {120, 100}, {144, 150}, {168, 150}, {192, 200}};
    for (const auto& [dpi, percent] : scales)
        EXPECT_EQ(core::pictureScalePercent(dpi), percent) << dpi;
}

} // namespace

// The icon sits where the text began, centred in the button's height; the text moves past it and its gap.
// A button that cannot hold the icon whole shows none and keeps its text's room.
TEST(ButtonIcon, TheIconTakesItsScaledPlaceAndTheTextMovesPastIt) {
    struct Case {
        int dpi, barHeight;
        Rect button, icon, text;
    };
    const Case cases[] = {
        {96, 24, {54, 3, 214, 21}, {58, 4, 74, 20}, {77, 3, 211, 21}},
        {120, 30, {68, 4, 268, 26}, {73, 5, 93, 25}, {97, 4, 264, 26}},
        {144, 36, {81, 5, 321, 31}, {87, 6, 111, 30}, {116, 5, 316, 31}},
        {192, 48, {108, 6, 428, 42}, {116, 8, 148, 40}, {154, 6, 422, 42}},
    };
    for (const Case& c : cases) {
        const Rect button = core::layoutButtons({0, 0, 1024, c.barHeight}, 2, c.dpi)[0];
        EXPECT_EQ(button, c.button) << c.dpi;
        EXPECT_EQ(core::iconRect(button, c.dpi), c.icon) << c.dpi;
        EXPECT_EQ(core::textRect(button, c.dpi, true), c.text) << c.dpi;
        EXPECT_EQ(core::textRect(button, c.dpi, false).left, c.icon.left) << c.dpi;
    }
    // 23 wide holds the icon between the insets (the text is then inverted and drawn nowhere); 22 does not.
    EXPECT_FALSE(core::iconRect({100, 3, 123, 21}).empty());
    EXPECT_TRUE(core::iconRect({100, 3, 122, 21}).empty());
    EXPECT_EQ(core::textRect({100, 3, 122, 21}, 96, true), (Rect{104, 3, 119, 21}));
    EXPECT_TRUE(core::iconRect({100, 3, 300, 18}).empty()) << "a button lower than the icon";
}
