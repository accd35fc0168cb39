// Mouse presses and keys on the browser buttons, with real input: what comes to the front, what is
// minimised, what closes, the button's menu, a button dragged to another place, and the bar under the
// keyboard as a screen reader hears of it from outside.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kit/bar_fixture.h"
#include "kit/other_process.h"
#include "kit/screen_reader.h"
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

// The children the bar's out-of-context focus events named, in order of arrival.
std::vector<long> g_focused;
void CALLBACK recordFocus(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) g_focused.push_back(child);
}

HWND captureOf(HWND bar) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(bar, nullptr), &info) ? info.hwndCapture : nullptr;
}

using Reorder = MenuBarTest;

TEST_F(Reorder, DraggingTheFirstButtonToTheEndMovesItsNameTipAndMenuItemAndEscapePutsADragBack) {
    std::vector<HWND> w = startWith({"A", "B", "C"}, 0);
    kit::ScreenReader screenReader(bar_);
    ASSERT_NE(screenReader.bar, nullptr);
    kit::moveTo(at(0));
    kit::leftDown();
    // A move inside the drag rectangle is still a press; past the last button's middle, the drop is there.
    kit::moveTo(at(0, 31));
    kit::moveTo(at(1, 60));
    kit::moveTo(at(2, 110));
    ASSERT_TRUE(kit::waitFor([&] { return captureOf(bar_) == bar_; }));
    // The active button is drawn where it would land, and the first place shows the next one's face.
    EXPECT_TRUE(waitSunken(2));
    EXPECT_TRUE(waitRaised(0));
    kit::leftUp();
    const std::vector<std::string> moved{"B", "C", "A"};
    EXPECT_TRUE(kit::waitFor([&] { return screenReader.names(3) == moved; })) << screenReader.names(3)[0];
    // The press brought its window forward; the drop brings nothing else.
    EXPECT_EQ(GetForegroundWindow(), w[0]);
    // Each tip is told its button's new place once the pointer is next on the strip.
    auto tipLeftOf = [&](HWND window) {
        kit::moveTo(at(1, 50 + static_cast<int>(GetTickCount() % 2)));
        for (const kit::Tool& t : kit::enumTools(e2e::barToolTips(bar_)))
            if (t.id == reinterpret_cast<UINT_PTR>(window)) return t.rect.left;
        return -1L;
    };
    EXPECT_TRUE(kit::waitFor([&] { return tipLeftOf(w[0]) == button(2).left; }));
    EXPECT_EQ(tipLeftOf(w[1]), button(0).left);
    ASSERT_TRUE(kit::moveTo(300, 200));
    HWND menu = tray::openIconMenu(bar_);
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> items = tray::menuItems(bar_, menu);
    ASSERT_GE(items.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(items.begin() + 1, items.begin() + 4),
              (std::vector<std::string>{"\tB", "\tC", "\tA"}));
    kit::pressKey(VK_ESCAPE);
    ASSERT_TRUE(kit::waitFor([&] { return !IsWindowVisible(menu); }));

    kit::moveTo(at(0));
    kit::leftDown();
    kit::moveTo(at(2, 110));
    ASSERT_TRUE(kit::waitFor([&] { return captureOf(bar_) == bar_; }));
    // B held over the last place: the active A makes room to the left.
    EXPECT_TRUE(waitSunken(1));
    kit::pressKey(VK_ESCAPE);
    EXPECT_TRUE(kit::waitFor([&] { return captureOf(bar_) == nullptr; }));
    EXPECT_TRUE(waitSunken(2));
    kit::leftUp();
    // A new window still joins at the end, behind the moved ones.
    browsers_.open("D");
    EXPECT_TRUE(kit::waitFor([&] {
        return screenReader.names(4) == std::vector<std::string>{"B", "C", "A", "D"};
    }));
}

using Keyboard = BarTest;

TEST_F(Keyboard, TheFocusHotKeyArrowsEnterDeleteTabAndEscapeAsAScreenReaderHearsThem) {
    std::vector<HWND> w = startWith({"A", "B", "C"}, 0);
    kit::ScreenReader screenReader(bar_);
    ASSERT_NE(screenReader.bar, nullptr);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, recordFocus,
                                         proc_.id(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    auto heard = [&](long child) {
        return kit::waitFor([&] { return !g_focused.empty() && g_focused.back() == child; });
    };
    ASSERT_TRUE(waitForeground(neutral()));
    const UINT ctrlAlt = MOD_CONTROL | MOD_ALT;
    // The row the dotted mark runs along, three pixels inside the button's top edge.
    auto markRow = [&](int index) {
        const BarShot shot(bar_);
        std::vector<COLORREF> row;
        for (int x = button(index).left + 3; x < button(index).right - 3; ++x)
            row.push_back(shot.at(x, Button::top + 3));
        return row;
    };
    const std::vector<COLORREF> plain0 = markRow(0), plain1 = markRow(1);

    // The active window's button takes the focus and shows it; Right moves it, Enter presses.
    kit::pressKey(VK_MULTIPLY, ctrlAlt);
    EXPECT_TRUE(heard(1));
    EXPECT_TRUE(kit::waitFor([&] { return markRow(0) != plain0; }, 3000));
    EXPECT_EQ(screenReader.focus(), 1);
    VARIANT state{};
    screenReader.bar->get_accState(kit::ScreenReader::child(1), &state);
    EXPECT_EQ(state.lVal & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE),
              STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE);
    kit::pressKey(VK_RIGHT);
    EXPECT_TRUE(heard(2));
    EXPECT_TRUE(kit::waitFor([&] { return markRow(0) == plain0 && markRow(1) != plain1; }, 3000));
    kit::pressKey(VK_RETURN);
    EXPECT_TRUE(kit::waitFor([&] { return GetForegroundWindow() == w[1]; }));
    // The window pressed forward has the keyboard: the bar's focus is gone.
    EXPECT_TRUE(kit::waitFor([&] { return screenReader.focus() == -1; }));

    // Shift+Tab from the first button wraps round to the last of the bar's own; End and Delete close the
    // last window, and the focus passes to its neighbour; Escape gives the keyboard back.
    kit::pressKey(VK_MULTIPLY, ctrlAlt);
    EXPECT_TRUE(heard(1));
    kit::pressKey(VK_TAB, MOD_SHIFT);
    EXPECT_TRUE(heard(3 + 5));
    kit::pressKey(VK_TAB);
    EXPECT_TRUE(heard(1));
    kit::pressKey(VK_END);
    EXPECT_TRUE(heard(3));
    kit::pressKey(VK_DELETE);
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(w[2]); }));
    EXPECT_TRUE(kit::waitFor([&] { return screenReader.focus() == 2; }));
    EXPECT_TRUE(IsWindow(w[0]) && IsWindow(w[1]));
    kit::pressKey(VK_ESCAPE);
    EXPECT_TRUE(kit::waitFor([&] { return GetForegroundWindow() == w[1]; }));
    UnhookWinEvent(hook);
}

} // namespace
