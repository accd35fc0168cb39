// The bar's menu, tray and exit paths acting on tracked browser windows, with the real corvane.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kit/bar_fixture.h"
#include "kit/browsers.h"
#include "kit/input.h"
#include "kit/tray.h"

namespace {

constexpr UINT kTrayNotify = WM_USER + 1;
constexpr UINT kHideKeyMods = MOD_CONTROL | MOD_ALT;

class TrayBrowsers : public e2e::BarTest {
  protected:
    void SetUp() override {
        e2e::BarTest::SetUp();
        kit::moveTo(700, 500);
    }
    void TearDown() override {
        if (HWND menu = tray::popupMenu()) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        e2e::BarTest::TearDown();
    }
    // Three browser windows open before the bar starts: the list is Alpha, Beta, Gamma (front-most last).
    void openThree() {
        alpha_ = browsers_.open("Alpha - Microsoft Internet Explorer", "IEFrame", false, 40, 40);
        beta_ = browsers_.open("Beta", "IEFrame", false, 80, 80);
        gamma_ = browsers_.open("Gamma", "IEFrame", false, 120, 120);
    }
    bool waitListed(int n) {
        return kit::waitFor([&] { return e2e::toolCount(bar_) == n; });
    }
    HWND openMenuAt(int x, int y) {
        EXPECT_TRUE(kit::moveTo(x, y));
        PostMessageA(bar_, kTrayNotify, 32771, WM_RBUTTONDOWN);
        HWND menu = nullptr;
        kit::waitFor([&] { return (menu = tray::popupMenu()) != nullptr; });
        return menu;
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
    openThree();
    start();
    ASSERT_TRUE(waitListed(3));
    SetForegroundWindow(gamma_);
    ASSERT_TRUE(e2e::waitForeground(gamma_));
    HWND menu = openMenuAt(300, 200);
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> items = tray::menuItems(bar_, menu);
    ASSERT_GE(items.size(), 4u);
    EXPECT_EQ(items[0], "IE windows list");
    EXPECT_EQ(items[1], "\tAlpha");
    EXPECT_EQ(items[2], "\tBeta");
    EXPECT_EQ(items[3], "\tGamma");
    EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const std::string& s) { return s[0] == '\t'; }),
              3);
    // Down selects "IE windows list", Right opens it on Alpha, Down moves to Beta.
    kit::pressKey(VK_DOWN);
    kit::pressKey(VK_RIGHT);
    kit::pressKey(VK_DOWN);
    kit::pressKey(VK_RETURN);
    EXPECT_TRUE(kit::waitFor([&] { return GetForegroundWindow() == beta_; }, 3000));
}

TEST_F(TrayBrowsers, AWindowListCommandForAWindowThatWentDoesNothing) {
    openThree();
    start();
    ASSERT_TRUE(waitListed(3));
    browsers_.close(gamma_);
    ASSERT_TRUE(waitListed(2));
    SetForegroundWindow(alpha_);
    ASSERT_TRUE(e2e::waitForeground(alpha_));
    // The menu was built while Gamma was third; the list has two entries now.
    PostMessageA(bar_, WM_COMMAND, 10002, 0);
    PostMessageA(bar_, WM_COMMAND, 10250, 0);
    Sleep(300);
    EXPECT_EQ(GetForegroundWindow(), alpha_);
    EXPECT_TRUE(IsWindowVisible(bar_));
    PostMessageA(bar_, WM_COMMAND, 10001, 0);
    EXPECT_TRUE(kit::waitFor([&] { return GetForegroundWindow() == beta_; }, 3000));
}

TEST_F(TrayBrowsers, MinimizeAllActsOnlyWhileHideBrowsersIsOn) {
    e2e::writeSetting("Hide browsers when Corvane! hides", 0);
    openThree();
    start();
    ASSERT_TRUE(waitListed(3));
    ASSERT_NE(openMenuAt(300, 200), nullptr);
    // "Minimize all browser windows" is the fourth item from the top (separators are skipped).
    for (int i = 0; i < 4; ++i)
        kit::pressKey(VK_DOWN);
    kit::pressKey(VK_RETURN);
    ASSERT_TRUE(kit::waitFor([] { return tray::popupMenu() == nullptr; }));
    Sleep(300);
    EXPECT_TRUE(allIconic(false));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));

    e2e::writeSetting("Hide browsers when Corvane! hides", 1);
    start();
    ASSERT_TRUE(waitListed(3));
    PostMessageA(bar_, WM_COMMAND, 127, 0);
    EXPECT_TRUE(kit::waitFor([&] { return allIconic(true); }));
    EXPECT_TRUE(IsWindowVisible(bar_)) << "minimising the browsers does not hide the bar";
}

TEST_F(TrayBrowsers, HidingMinimisesTheBrowsersAndRestoringBringsThemAllBack) {
    openThree();
    start();
    ASSERT_TRUE(waitListed(3));
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
    openThree();
    start();
    ASSERT_TRUE(waitListed(3));
    ShowWindow(beta_, SW_MINIMIZE);
    PostMessageA(bar_, WM_COMMAND, 125, 0);
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }));
    EXPECT_FALSE(IsIconic(alpha_)) << "hiding minimised a browser with the setting off";
    PostMessageA(bar_, WM_COMMAND, 125, 0);
    ASSERT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) != FALSE; }));
    EXPECT_TRUE(kit::waitFor([&] { return allIconic(false); }));
}

TEST_F(TrayBrowsers, TheMenusExitIgnoresShiftAndTheCloseButtonsInvertTheSetting) {
    openThree();
    start();
    ASSERT_TRUE(waitListed(3));
    ASSERT_NE(openMenuAt(300, 200), nullptr);
    kit::pressKey(VK_UP);
    kit::pressKey(VK_UP);
    kit::holdShift(true);
    kit::pressKey(VK_RETURN);
    kit::holdShift(false);
    ASSERT_TRUE(proc_.waitExit(5000));
    kit::waitFor([] { return false; }, 300);
    EXPECT_TRUE(IsWindow(alpha_) && IsWindow(beta_) && IsWindow(gamma_)) << "Exit closed the browsers";

    start();
    ASSERT_TRUE(waitListed(3));
    HWND close = GetDlgItem(bar_, 218);
    RECT rc{};
    GetWindowRect(close, &rc);
    ASSERT_TRUE(kit::moveTo((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    kit::holdShift(true);
    kit::leftDown();
    // Released once the button shows itself pressed, as a hand would: a release that overtakes the press's
    // handling (which takes the focus) finds no pressed button to click.
    EXPECT_TRUE(
        kit::waitFor([&] { return (SendMessageA(close, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, 3000));
    kit::leftUp();
    kit::holdShift(false);
    ASSERT_TRUE(proc_.waitExit(5000));
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(alpha_) && !IsWindow(beta_) && !IsWindow(gamma_); }))
        << "Shift + Close did not close the browsers";
}

TEST_F(TrayBrowsers, CloseAllAsksEveryBrowserToClose) {
    openThree();
    start();
    ASSERT_TRUE(waitListed(3));
    PostMessageA(bar_, WM_COMMAND, 123, 0);
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(alpha_) && !IsWindow(beta_) && !IsWindow(gamma_); }));
    EXPECT_TRUE(waitListed(0));
    EXPECT_TRUE(IsWindowVisible(bar_));
}

TEST_F(TrayBrowsers, AutohideHidesTheBarFourSecondsAfterTheLastBrowserClosedUnlessOneOpens) {
    e2e::writeSetting("Autohide", 1);
    e2e::writeSetting("Autorestore from tray", 0);
    HWND only = browsers_.open("Only", "IEFrame", false);
    start();
    ASSERT_TRUE(waitListed(1));

    // A browser opened within the 4 seconds cancels the hiding.
    browsers_.close(only);
    ASSERT_TRUE(waitListed(0));
    kit::waitFor([] { return false; }, 2000);
    HWND next = browsers_.open("Next");
    ASSERT_TRUE(waitListed(1));
    kit::waitFor([] { return false; }, 3500);
    EXPECT_TRUE(IsWindowVisible(bar_)) << "the hiding was not cancelled";

    browsers_.close(next);
    DWORD closed = GetTickCount();
    ASSERT_TRUE(waitListed(0));
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }, 8000));
    DWORD waited = GetTickCount() - closed;
    EXPECT_GE(waited, 3800u);
    EXPECT_LT(waited, 6000u);
}

TEST_F(TrayBrowsers, WithAutorestoreANewBrowserBringsTheBarBack) {
    e2e::writeSetting("Autorestore from tray", 1);
    start();
    PostMessageA(bar_, WM_COMMAND, 125, 0);
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }));
    HWND w = browsers_.open("Arrives");
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) && !tray::iconPresent(bar_); }));
    EXPECT_FALSE(IsIconic(w));
}

} // namespace
