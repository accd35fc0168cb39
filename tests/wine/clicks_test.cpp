// Mouse presses on the browser buttons, with real input: what comes to the front, what is minimised, what
// closes, and the button's menu.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "kit/bar_fixture.h"
#include "kit/tray.h"

namespace {

using namespace e2e;

using Clicks = BarTest;

// Opens a button's menu with a right press and picks one of its two items: each takes half of its height.
void pickMenuItem(POINT at, int item) {
    kit::click(at, true);
    HWND menu = tray::waitPopupMenu();
    ASSERT_NE(menu, nullptr);
    RECT rc{};
    GetWindowRect(menu, &rc);
    int height = rc.bottom - rc.top;
    kit::click({rc.left + 20, rc.top + height / 4 + item * height / 2});
    kit::waitFor([&] { return !IsWindowVisible(menu); }, 3000);
}

TEST_F(Clicks, ASecondClickOnTheActiveButtonMinimisesWhenAllowedAndTheNextBringsItBack) {
    writeSetting("Allow minimization of IE", 1);
    std::vector<HWND> w = startWith({"A", "B"}, 0);
    kit::click(at(0));
    EXPECT_TRUE(kit::waitFor([&] { return IsIconic(w[0]); }));
    // Raised at once: no word from the shell is needed.
    EXPECT_TRUE(waitRaised(0));
    EXPECT_FALSE(IsIconic(w[1]));
    // No longer marked active, the next click brings it back (a few pixels away: not a double click).
    kit::click(at(0, 80));
    EXPECT_TRUE(kit::waitFor([&] { return !IsIconic(w[0]) && GetForegroundWindow() == w[0]; }));
}

TEST_F(Clicks, WithMinimisationOffAClickOnTheActiveButtonOnlyBringsItForward) {
    std::vector<HWND> w = startWith({"A", "B"}, 0);
    SetForegroundWindow(neutral());
    ASSERT_TRUE(waitForeground(neutral()));
    kit::click(at(0));
    EXPECT_TRUE(waitForeground(w[0]));
    EXPECT_FALSE(IsIconic(w[0]));
    EXPECT_TRUE(waitSunken(0));
}

TEST_F(Clicks, AClickOnAMinimisedWindowsButtonRestoresIt) {
    std::vector<HWND> w = startWith({"A", "B"});
    ShowWindow(w[1], SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(w[1]));
    kit::click(at(1));
    EXPECT_TRUE(kit::waitFor([&] { return !IsIconic(w[1]) && GetForegroundWindow() == w[1]; }));
}

TEST_F(Clicks, ADoubleClickActsOnce) {
    writeSetting("Allow minimization of IE", 1);
    std::vector<HWND> w = startWith({"A"}, 0);
    kit::doubleClick(at(0));
    ASSERT_TRUE(kit::waitFor([&] { return IsIconic(w[0]); }));
    // Acting twice would have restored it at once.
    EXPECT_FALSE(kit::waitFor([&] { return !IsIconic(w[0]); }, 1000));
}

TEST_F(Clicks, ShiftWithASecondClickMinimisesEveryWindowOnlyWhileBrowsersHideWithTheBar) {
    writeSetting("Allow minimization of IE", 1);
    std::vector<HWND> w = startWith({"A", "B", "C"}, 1);
    // Shift is held until the click has had its effect, as a hand would hold it.
    kit::shiftClick(at(1));
    EXPECT_TRUE(kit::waitFor([&] { return IsIconic(w[0]) && IsIconic(w[1]) && IsIconic(w[2]); }))
        << IsIconic(w[0]) << IsIconic(w[1]) << IsIconic(w[2]);
    EXPECT_TRUE(waitRaised(1));
    kit::holdShift(false);
    ASSERT_TRUE(closeBar(proc_, bar_));

    writeSetting("Hide browsers when Corvane! hides", 0);
    for (HWND x : w)
        ShowWindow(x, SW_RESTORE);
    start();
    EXPECT_EQ(shellEvent(bar_, w[1], kActivated), 1);
    ASSERT_TRUE(waitSunken(1));
    kit::shiftClick(at(1));
    // Only the marker goes.
    EXPECT_TRUE(waitRaised(1));
    kit::holdShift(false);
    EXPECT_FALSE(IsIconic(w[0]) || IsIconic(w[1]) || IsIconic(w[2]));
}

TEST_F(Clicks, TheGlyphClosesItsWindowAndTheCornerOfAnInactiveButtonJustActivates) {
    std::vector<HWND> w = startWith({"A", "B"});
    // The glyph shows only on the active button: B's corner is an ordinary part of the button.
    SetForegroundWindow(neutral());
    ASSERT_TRUE(waitForeground(neutral()));
    kit::click(glyph(1));
    EXPECT_TRUE(waitForeground(w[1]));
    EXPECT_TRUE(IsWindow(w[1]));

    EXPECT_EQ(shellEvent(bar_, w[0], kActivated), 1);
    ASSERT_TRUE(waitSunken(0));
    kit::click(glyph(0));
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(w[0]); }));
    EXPECT_TRUE(waitTools(1));
    EXPECT_TRUE(IsWindow(w[1]));
}

TEST_F(Clicks, ShiftWithAClickOnTheGlyphClosesEveryWindow) {
    std::vector<HWND> w = startWith({"A", "B", "C"}, 2);
    kit::shiftClick(glyph(2));
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(w[0]) && !IsWindow(w[1]) && !IsWindow(w[2]); }));
    kit::holdShift(false);
    EXPECT_TRUE(waitTools(0));
}

TEST_F(Clicks, AMiddleClickClosesTheWindowUnderItUnlessTurnedOffOrMovedOffTheButton) {
    std::vector<HWND> w = startWith({"A", "B", "C"});
    kit::middleClick(at(1));
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(w[1]); }));
    EXPECT_TRUE(waitTools(2));
    EXPECT_TRUE(IsWindow(w[0]) && IsWindow(w[2]));
    // A press taken off its button before the release closes nothing.
    kit::moveTo(at(0));
    kit::middleDown();
    kit::moveTo(clientToScreen(bar_, {900, 12}));
    kit::middleUp();
    kit::settle(300);
    EXPECT_TRUE(IsWindow(w[0]));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));

    e2e::writeSetting("Middle click closes a window", 0);
    start();
    ASSERT_TRUE(waitTools(2));
    kit::middleClick(at(0));
    kit::settle(300);
    EXPECT_TRUE(IsWindow(w[0]));
}

TEST_F(Clicks, AClickBesideEveryButtonClearsTheMarker) {
    startWith({"A", "B"}, 1);
    kit::click(clientToScreen(bar_, {900, 12}));
    EXPECT_TRUE(waitRaised(1));
}

TEST_F(Clicks, TheButtonsMenuMinimisesRestoresAndCloses) {
    std::vector<HWND> w = startWith({"A", "B"});
    ASSERT_NO_FATAL_FAILURE(pickMenuItem(at(0), 0));
    EXPECT_TRUE(kit::waitFor([&] { return IsIconic(w[0]); }));
    ASSERT_NO_FATAL_FAILURE(pickMenuItem(at(0, 70), 0));
    EXPECT_TRUE(kit::waitFor([&] { return !IsIconic(w[0]) && GetForegroundWindow() == w[0]; }));
    ASSERT_NO_FATAL_FAILURE(pickMenuItem(at(0, 110), 1));
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(w[0]); }));
    EXPECT_TRUE(waitTools(1));
    EXPECT_TRUE(IsWindow(w[1]));
}

} // namespace
