#include "core/button_drag.h"

#include <gtest/gtest.h>

namespace {

TEST(ButtonDrag, APressBecomesADragOnlyOutsideTheRectangleCentredOnIt) {
    struct Case {
        int dx, dy;
        bool drag;
    } cases[] = {{0, 0, false}, {2, 2, false}, {-2, -2, false}, {3, 0, true},
                 {-3, 0, true}, {0, 3, true},  {0, -3, true}};
    for (const Case& c : cases)
        EXPECT_EQ(core::dragStarted(c.dx, c.dy, 4, 4), c.drag) << c.dx << "," << c.dy;
}

TEST(ButtonDrag, TheButtonLandsPastEveryMiddleThePointerPassed) {
    // Three buttons 160 wide, 162 apart; the middles at 134, 296, 458.
    const std::vector<core::Span> row{{54, 214}, {216, 376}, {378, 538}};
    struct Case {
        int from, x, place;
    } cases[] = {{0, 100, 0}, {0, 296, 0}, {0, 297, 1}, {0, 459, 2}, {0, 1000, 2}, {2, 0, 0},
                 {2, 135, 1}, {2, 400, 2}, {1, 133, 0}, {1, 135, 1}, {1, 459, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(core::dropPlace(row, c.from, c.x), c.place) << c.from << " at " << c.x;
    EXPECT_EQ(core::dropPlace({}, 0, 50), 0);
}

TEST(ButtonDrag, TheButtonsBetweenMakeRoomAndTheOthersStay) {
    // Shown at places 0..3 while the button at `from` is held over `to`.
    struct Case {
        int from, to;
        int shown[4];
    } cases[] = {{0, 3, {1, 2, 3, 0}},
                 {3, 0, {3, 0, 1, 2}},
                 {1, 2, {0, 2, 1, 3}},
                 {2, 2, {0, 1, 2, 3}},
                 {-1, -1, {0, 1, 2, 3}}};
    for (const Case& c : cases)
        for (int place = 0; place < 4; ++place)
            EXPECT_EQ(core::entryShownAt(place, c.from, c.to), c.shown[place]) << c.from << "->" << c.to;
}

} // namespace
