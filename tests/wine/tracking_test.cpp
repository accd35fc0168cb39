// The bar's list of browser windows, end to end: the real bar program, real windows of the tracked classes,
// and the shell's window events delivered as the shell hook delivers them.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/bar_ids.h"
#include "kit/bar_fixture.h"
#include "kit/browsers.h"

namespace {

using e2e::kActivated;
using e2e::kCreated;
using e2e::kDestroyed;
using e2e::kRetitled;

// Windows stay where the tests put them unless a test asks for placement (the fixture turns maximising off).
class Tracking : public e2e::BarTest {
  protected:
    int tools() { return e2e::toolCount(bar_); }
    // Clicks a button and says which window came to the front.
    HWND frontAfterClicking(int index) {
        // Start from a window that is not a browser, so that any browser in front came there by the click.
        SetForegroundWindow(neutral());
        EXPECT_TRUE(e2e::waitForeground(neutral()));
        kit::click(at(index, 60));
        HWND front = nullptr;
        kit::waitFor([&] { return (front = GetForegroundWindow()) != neutral(); }, 2000);
        return front;
    }
};

TEST_F(Tracking, WindowsOpenAtStartAreListedFrontMostLastAndLaterOnesAreAppended) {
    HWND w3 = browsers_.open("Three", "IEFrame", false, 50, 50);
    HWND w2 = browsers_.open("Two", "IEFrame", false, 80, 80);
    HWND w1 = browsers_.open("One", "IEFrame", false, 110, 110);
    browsers_.open("Not a browser", "CorvaneTestOther", false);
    // Z order, front-most first: other, w1, w2, w3.
    ASSERT_EQ(GetNextWindow(w1, GW_HWNDNEXT), w2);
    start();
    ASSERT_TRUE(waitTools(3));
    EXPECT_EQ(frontAfterClicking(0), w3);
    EXPECT_EQ(frontAfterClicking(1), w2);
    EXPECT_EQ(frontAfterClicking(2), w1);

    HWND w4 = browsers_.open("Four");
    ASSERT_TRUE(waitTools(4));
    EXPECT_EQ(frontAfterClicking(3), w4);

    browsers_.close(w2);
    ASSERT_TRUE(waitTools(3));
    EXPECT_EQ(frontAfterClicking(1), w1);
    EXPECT_EQ(frontAfterClicking(2), w4);
}

TEST_F(Tracking, EventsAnswerOneForBrowserWindowsAndZeroForOthers) {
    HWND browser = browsers_.open("Page", "IEFrame", false);
    HWND other = browsers_.open("Other", "CorvaneTestOther", false);
    start();
    ASSERT_TRUE(waitTools(1));
    for (LPARAM code : {kCreated, kDestroyed, kActivated, kRetitled, LPARAM(3)}) {
        EXPECT_EQ(e2e::shellEvent(bar_, other, code), 0) << code;
    }
    EXPECT_EQ(tools(), 1);
    EXPECT_EQ(e2e::shellEvent(bar_, browser, kRetitled), 1);
    EXPECT_EQ(e2e::shellEvent(bar_, browser, 3), 1);
    EXPECT_EQ(e2e::shellEvent(bar_, browser, kActivated), 1);
    EXPECT_EQ(tools(), 1);
}

TEST_F(Tracking, ASecondCreatedEventAddsASecondEntryAndEachDestroyedEventRemovesOne) {
    start();
    HWND w = browsers_.open("Twice");
    ASSERT_TRUE(waitTools(1));
    EXPECT_EQ(e2e::shellEvent(bar_, w, kCreated), 1);
    EXPECT_EQ(tools(), 2);
    EXPECT_EQ(e2e::shellEvent(bar_, w, kDestroyed), 1);
    EXPECT_EQ(tools(), 1);
    browsers_.close(w);
    EXPECT_TRUE(waitTools(0));
    // A destroyed event for a window that is no longer listed changes nothing.
    EXPECT_EQ(e2e::shellEvent(bar_, w, kDestroyed), 0);
    EXPECT_EQ(tools(), 0);
}

TEST_F(Tracking, FolderWindowsAreTrackedOnlyWhileCaught) {
    HWND folder = browsers_.open("C:\\", "CabinetWClass", false);
    start();
    EXPECT_TRUE(waitTools(1));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));
    e2e::writeSetting("Catch Windows Explorer windows", 0);
    start();
    EXPECT_EQ(tools(), 0);
    EXPECT_EQ(e2e::shellEvent(bar_, folder, kCreated), 0);
    EXPECT_EQ(tools(), 0);
}

TEST_F(Tracking, NewWindowsAreMaximisedWhenAsked) {
    e2e::writeSetting("Maximize browser windows", 1);
    e2e::writeSetting("Align browser windows", 1);
    HWND before = browsers_.open("Before", "IEFrame", false);
    start();
    EXPECT_TRUE(kit::waitFor([&] { return IsZoomed(before) != 0; }));
    HWND later = browsers_.open("Later");
    EXPECT_TRUE(kit::waitFor([&] { return IsZoomed(later) != 0; }));
}

TEST_F(Tracking, WithAlignOnNewAndActivatedWindowsTakeTheFixedRectangle) {
    e2e::writeSetting("Align browser windows", 1);
    e2e::writeSetting("Left", 40);
    e2e::writeSetting("Top", 30);
    e2e::writeSetting("Width", 500);
    e2e::writeSetting("Height", 400);
    HWND before = browsers_.open("Before", "IEFrame", false, 300, 300);
    start();
    auto aligned = [](HWND w) {
        RECT rc{};
        GetWindowRect(w, &rc);
        return rc.left == 40 && rc.top == 30 && rc.right == 540 && rc.bottom == 430 && !IsZoomed(w);
    };
    EXPECT_TRUE(kit::waitFor([&] { return aligned(before); }));
    HWND later = browsers_.open("Later", "IEFrame", true, 200, 250);
    EXPECT_TRUE(kit::waitFor([&] { return aligned(later); }));
    // Moved or maximised by the user, it returns at its next activation.
    ShowWindow(later, SW_MAXIMIZE);
    EXPECT_EQ(e2e::shellEvent(bar_, later, kActivated), 1);
    EXPECT_TRUE(kit::waitFor([&] { return aligned(later); }));
    MoveWindow(before, 0, 0, 100, 100, TRUE);
    EXPECT_EQ(e2e::shellEvent(bar_, before, kActivated), 1);
    EXPECT_TRUE(kit::waitFor([&] { return aligned(before); }));
}

TEST_F(Tracking, AWindowShownLaterIsPlacedOnceAndThenLeftWhereTheUserPutsIt) {
    e2e::writeSetting("Align browser windows", 1);
    e2e::writeSetting("Left", 40);
    e2e::writeSetting("Width", 500);
    start();
    HWND late = browsers_.open("Late", "IEFrame", false);
    ShowWindow(late, SW_HIDE);
    EXPECT_EQ(e2e::shellEvent(bar_, late, kCreated), 1);
    ShowWindow(late, SW_SHOWNOACTIVATE);
    EXPECT_EQ(e2e::shellEvent(bar_, late, kActivated), 1);
    EXPECT_TRUE(kit::waitFor([&] {
        RECT rc{};
        return GetWindowRect(late, &rc) && rc.left == 40 && rc.right == 540;
    }));
    MoveWindow(late, 0, 0, 200, 150, TRUE);
    // A check of the waiting windows, then a report behind it: once that window is listed, the check has run
    // and any placement it made has reached this thread.
    PostMessageA(bar_, WM_TIMER, app::PENDING_TIMER_ID, 0);
    const int listed = tools();
    HWND marker = browsers_.open("Marker", "IEFrame", false);
    PostMessageA(bar_, cvsh::kShellEventMessage, reinterpret_cast<WPARAM>(marker), kCreated);
    EXPECT_TRUE(kit::waitFor([&] { return tools() > listed; }));
    kit::pump();
    RECT rc{};
    GetWindowRect(late, &rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.right, 200);
}

TEST_F(Tracking, WithNeitherPlacementWindowsStayWhereTheyAre) {
    HWND w = browsers_.open("Here", "IEFrame", false, 123, 111);
    start();
    HWND later = browsers_.open("There", "IEFrame", true, 222, 131);
    ASSERT_TRUE(waitTools(2));
    EXPECT_EQ(e2e::shellEvent(bar_, w, kActivated), 1);
    RECT a{}, b{};
    GetWindowRect(w, &a);
    GetWindowRect(later, &b);
    EXPECT_EQ(a.left, 123);
    EXPECT_EQ(a.top, 111);
    EXPECT_EQ(b.left, 222);
    EXPECT_EQ(b.top, 131);
    EXPECT_FALSE(IsZoomed(w));
}

TEST_F(Tracking, ClosingTheBarClosesTheBrowsersOnlyWhenAsked) {
    HWND kept = browsers_.open("Kept", "IEFrame", false);
    start();
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));
    EXPECT_TRUE(IsWindow(kept));

    e2e::writeSetting("Close browser windows on exit", 1);
    HWND second = browsers_.open("Second", "IEFrame", false);
    start();
    ASSERT_TRUE(waitTools(2));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(kept) && !IsWindow(second); }));
}

} // namespace
