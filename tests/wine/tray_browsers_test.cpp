// The bar's menu, tray and exit paths acting on tracked browser windows, with the real corvane.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "kit/bar_fixture.h"
#include "kit/browsers.h"
#include "kit/input.h"
#include "kit/tray.h"

namespace {

using tray::kTrayNotify;
constexpr UINT kHideKeyMods = MOD_CONTROL | MOD_ALT;

class TrayBrowsers : public e2e::MenuBarTest {
  protected:
    // Three windows open before the bar's first start: the list is Alpha, Beta, Gamma (front-most last).
    void startWithThree() {
        if (!alpha_) {
            alpha_ = browsers_.open("Alpha - Microsoft Internet Explorer", "IEFrame", false, 40, 40);
            beta_ = browsers_.open("Beta", "IEFrame", false, 80, 80);
            gamma_ = browsers_.open("Gamma", "IEFrame", false, 120, 120);
        }
        start();
        ASSERT_TRUE(waitTools(3));
    }
    HWND openMenu() {
        EXPECT_TRUE(kit::moveTo(300, 200));
        return tray::openIconMenu(bar_);
    }
    bool allIconic(bool iconic) {
        for (HWND w : {alpha_, beta_, gamma_})
            if ((IsIconic(w) != FALSE) != iconic) return false;
        return true;
    }
    bool inTray() { return !IsWindowVisible(bar_) && tray::iconPresent(bar_); }

    HWND alpha_ = nullptr, beta_ = nullptr, gamma_ = nullptr;
};

TEST_F(TrayBrowsers, TheWindowListShowsEveryTrackedWindowAndChoosingOneBringsItForward) {
    ASSERT_NO_FATAL_FAILURE(startWithThree());
    SetForegroundWindow(gamma_);
    ASSERT_TRUE(e2e::waitForeground(gamma_));
    HWND menu = openMenu();
    ASSERT_NE(menu, nullptr);
    std::string items;
    for (const std::string& item : tray::menuItems(bar_, menu))
        items += item + "|";
    // The list, and nothing else, in the submenu.
    EXPECT_EQ(items.rfind("IE windows list|\tAlpha|\tBeta|\tGamma|-|", 0), 0u) << items;
    // Down selects "IE windows list", Right opens it on Alpha, Down moves to Beta.
    kit::pressKey(VK_DOWN);
    kit::pressKey(VK_RIGHT);
    kit::pressKey(VK_DOWN);
    kit::pressKey(VK_RETURN);
    EXPECT_TRUE(kit::waitFor([&] { return GetForegroundWindow() == beta_; }, 3000));
}

TEST_F(TrayBrowsers, AWindowListCommandForAWindowThatWentDoesNothing) {
    ASSERT_NO_FATAL_FAILURE(startWithThree());
    browsers_.close(gamma_);
    ASSERT_TRUE(waitTools(2));
    SetForegroundWindow(alpha_);
    ASSERT_TRUE(e2e::waitForeground(alpha_));
    // The menu was built while Gamma was third; the list has two entries now.
    // Sent, not posted: each has been carried out when the call returns.
    SendMessageA(bar_, WM_COMMAND, 10002, 0);
    SendMessageA(bar_, WM_COMMAND, 10250, 0);
    kit::pump();
    EXPECT_EQ(GetForegroundWindow(), alpha_);
    EXPECT_TRUE(IsWindowVisible(bar_));
    PostMessageA(bar_, WM_COMMAND, 10001, 0);
    EXPECT_TRUE(kit::waitFor([&] { return GetForegroundWindow() == beta_; }, 3000));
}

TEST_F(TrayBrowsers, MinimizeAllActsOnlyWhileHideBrowsersIsOn) {
    e2e::writeSetting("Hide browsers when Corvane! hides", 0);
    ASSERT_NO_FATAL_FAILURE(startWithThree());
    ASSERT_NE(openMenu(), nullptr);
    // "Minimize all browser windows" is the fourth item from the top (separators are skipped).
    for (int i = 0; i < 4; ++i)
        kit::pressKey(VK_DOWN);
    kit::pressKey(VK_RETURN);
    ASSERT_TRUE(kit::waitFor([] { return tray::popupMenu() == nullptr; }));
    // Posted after the menu's command: once Beta is in front, the bar has carried that command out, and what
    // it asked of these windows is in this thread's queue.
    PostMessageA(bar_, WM_COMMAND, 10001, 0);
    ASSERT_TRUE(kit::waitFor([&] { return GetForegroundWindow() == beta_; }, 3000));
    kit::pump();
    EXPECT_TRUE(allIconic(false));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));

    e2e::writeSetting("Hide browsers when Corvane! hides", 1);
    ASSERT_NO_FATAL_FAILURE(startWithThree());
    PostMessageA(bar_, WM_COMMAND, 127, 0);
    EXPECT_TRUE(kit::waitFor([&] { return allIconic(true); }));
    EXPECT_TRUE(IsWindowVisible(bar_)) << "minimising the browsers does not hide the bar";
}

TEST_F(TrayBrowsers, HidingMinimisesTheBrowsersAndRestoringBringsThemAllBack) {
    ASSERT_NO_FATAL_FAILURE(startWithThree());
    kit::pressKey(VK_SUBTRACT, kHideKeyMods);
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }));
    EXPECT_TRUE(kit::waitFor([&] { return allIconic(true); }));
    // The tray icon's left press restores them all, the last entry in front.
    PostMessageA(bar_, kTrayNotify, 32771, WM_LBUTTONDOWN);
    ASSERT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) && !tray::iconPresent(bar_); }));
    EXPECT_TRUE(kit::waitFor([&] { return allIconic(false); }));
    EXPECT_TRUE(kit::waitFor([&] { return GetForegroundWindow() == gamma_; }));
}

TEST_F(TrayBrowsers, RestoringAlsoRestoresWindowsTheUserMinimisedWithHideBrowsersOff) {
    e2e::writeSetting("Hide browsers when Corvane! hides", 0);
    ASSERT_NO_FATAL_FAILURE(startWithThree());
    ShowWindow(beta_, SW_MINIMIZE);
    PostMessageA(bar_, WM_COMMAND, 125, 0);
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }));
    EXPECT_FALSE(IsIconic(alpha_)) << "hiding minimised a browser with the setting off";
    PostMessageA(bar_, WM_COMMAND, 125, 0);
    ASSERT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) != FALSE; }));
    EXPECT_TRUE(kit::waitFor([&] { return allIconic(false); }));
}

TEST_F(TrayBrowsers, TheMenusExitIgnoresShiftAndTheCloseButtonsInvertTheSetting) {
    ASSERT_NO_FATAL_FAILURE(startWithThree());
    ASSERT_NE(openMenu(), nullptr);
    kit::pressKey(VK_UP);
    kit::pressKey(VK_UP);
    // Shift stays down until the bar has acted on the key: released at once, it could be up before the bar
    // looks at it.
    kit::holdShift(true);
    kit::pressKey(VK_RETURN);
    ASSERT_TRUE(proc_.waitExit(5000));
    kit::holdShift(false);
    kit::settle(300);
    EXPECT_TRUE(IsWindow(alpha_) && IsWindow(beta_) && IsWindow(gamma_)) << "Exit closed the browsers";

    ASSERT_NO_FATAL_FAILURE(startWithThree());
    kit::holdShift(true);
    EXPECT_TRUE(tray::pressAndRelease(GetDlgItem(bar_, 218)));
    ASSERT_TRUE(proc_.waitExit(5000));
    kit::holdShift(false);
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(alpha_) && !IsWindow(beta_) && !IsWindow(gamma_); }))
        << "Shift + Close did not close the browsers";
}

TEST_F(TrayBrowsers, CloseAllAsksEveryBrowserToClose) {
    ASSERT_NO_FATAL_FAILURE(startWithThree());
    PostMessageA(bar_, WM_COMMAND, 123, 0);
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(alpha_) && !IsWindow(beta_) && !IsWindow(gamma_); }));
    EXPECT_TRUE(waitTools(0));
    EXPECT_TRUE(IsWindowVisible(bar_));
}

TEST_F(TrayBrowsers, AutohideHidesTheBarFourSecondsAfterTheLastBrowserClosedUnlessOneOpens) {
    e2e::writeSetting("Autohide", 1);
    e2e::writeSetting("Autorestore from tray", 0);
    HWND only = browsers_.open("Only", "IEFrame", false);
    start();
    ASSERT_TRUE(waitTools(1));

    // A browser opened within the 4 seconds cancels the hiding.
    browsers_.close(only);
    ASSERT_TRUE(waitTools(0));
    kit::waitFor([] { return false; }, 2000);
    HWND next = browsers_.open("Next");
    ASSERT_TRUE(waitTools(1));
    kit::waitFor([] { return false; }, 3500);
    EXPECT_TRUE(IsWindowVisible(bar_)) << "the hiding was not cancelled";

    browsers_.close(next);
    DWORD closed = GetTickCount();
    ASSERT_TRUE(waitTools(0));
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }, 8000));
    DWORD waited = GetTickCount() - closed;
    EXPECT_GE(waited, 3800u);
    EXPECT_LT(waited, 6000u);
}

TEST_F(TrayBrowsers, WithAutorestoreANewBrowserBringsTheBarBack) {
    e2e::writeSetting("Autorestore from tray", 1);
    e2e::writeSetting("Maximize browser windows", 1);
    start();
    PostMessageA(bar_, WM_COMMAND, 125, 0);
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }));
    HWND w = browsers_.open("Arrives");
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) && !tray::iconPresent(bar_); }));
    EXPECT_FALSE(IsIconic(w));

    // A window reported before its program shows it brings the bar back too, but the restoring of every
    // window leaves it to its program: it is placed once shown.
    PostMessageA(bar_, WM_COMMAND, 125, 0);
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }));
    HWND early = CreateWindowExA(0, "IEFrame", "Early", WS_OVERLAPPEDWINDOW, 60, 60, 300, 200, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) != FALSE; }));
    // The restoring follows the bar's showing in the same handler.
    SendMessageA(bar_, WM_NULL, 0, 0);
    kit::settle();
    EXPECT_FALSE(IsWindowVisible(early));
    ShowWindow(early, SW_SHOWNORMAL);
    EXPECT_TRUE(kit::waitFor([&] { return IsZoomed(early) != FALSE; }));
    DestroyWindow(early);
}

} // namespace
