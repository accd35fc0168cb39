// The bar program as a user meets it: started as a real process on a 1024 x 768 screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include "kit/bar_fixture.h"

namespace {

RECT rectOf(HWND w) {
    RECT rc{};
    GetWindowRect(w, &rc);
    return rc;
}

using Startup = e2e::BarProgramTest;

TEST_F(Startup, WithNoSettingsTheBarDocksAtTheBottomAsATopmostToolWindow) {
    start();
    RECT rc = rectOf(bar_);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 744);
    EXPECT_EQ(rc.right, 1024);
    EXPECT_EQ(rc.bottom, 768);
    LONG_PTR ex = GetWindowLongPtrA(bar_, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    LONG_PTR style = GetWindowLongPtrA(bar_, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_EQ(GetWindowLongPtrA(bar_, GWLP_ID), 32770);
    char title[64] = {};
    GetWindowTextA(bar_, title, sizeof(title));
    EXPECT_STREQ(title, "Corvane! main window");

    ASSERT_TRUE(e2e::closeBar(proc_, bar_));
    EXPECT_EQ(proc_.exitCode(), 0u);
    EXPECT_FALSE(e2e::settingsKeyExists()) << "a run without preference changes wrote the registry";
}

TEST_F(Startup, TopEdgeAndBarHeightComeFromTheSettings) {
    e2e::writeSetting("Show on top of desktop", 1);
    e2e::writeSetting("Bar height", 40);
    start();
    RECT rc = rectOf(bar_);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.bottom, 40);
    EXPECT_EQ(rc.right, 1024);
}

TEST_F(Startup, ASecondStartEndsAtOnceAndLeavesOneBar) {
    start();
    kit::Process second;
    ASSERT_TRUE(second.start("\"" + kit::distDir() + "\\corvane.exe\""));
    EXPECT_TRUE(second.waitExit(5000));
    EXPECT_EQ(second.exitCode(), 0u);
    EXPECT_EQ(e2e::findBar(), bar_);
    EXPECT_TRUE(proc_.running());
}

TEST_F(Startup, AnyWindowWithTheBarsTitleStopsTheStart) {
    HWND impostor = CreateWindowExA(0, "STATIC", "Corvane! main window", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, nullptr, nullptr);
    ASSERT_NE(impostor, nullptr);
    kit::Process p;
    ASSERT_TRUE(p.start("\"" + kit::distDir() + "\\corvane.exe\""));
    EXPECT_TRUE(p.waitExit(5000));
    EXPECT_EQ(e2e::findBar(), impostor);
    DestroyWindow(impostor);
}

// A second appbar on the bottom edge, owned by this test.
class OtherAppBar {
  public:
    explicit OtherAppBar(int height) {
        abd_.cbSize = sizeof(abd_);
        abd_.hWnd = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "other bar", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, nullptr, nullptr);
        SHAppBarMessage(ABM_NEW, &abd_);
        abd_.uEdge = ABE_BOTTOM;
        abd_.rc = {0, 768 - height, 1024, 768};
        SHAppBarMessage(ABM_QUERYPOS, &abd_);
        SHAppBarMessage(ABM_SETPOS, &abd_);
        const RECT& r = abd_.rc;
        SetWindowPos(abd_.hWnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    ~OtherAppBar() {
        SHAppBarMessage(ABM_REMOVE, &abd_);
        DestroyWindow(abd_.hWnd);
    }
    const RECT& rect() const { return abd_.rc; }

  private:
    APPBARDATA abd_{};
};

TEST_F(Startup, AnAppBarAlreadyOnTheEdgePushesTheBarClearAndTheBarKeepsItsHeight) {
    OtherAppBar other(30);
    ASSERT_EQ(other.rect().top, 738);
    start();
    RECT rc = rectOf(bar_);
    EXPECT_EQ(rc.bottom, 738);
    EXPECT_EQ(rc.top, 738 - 24);
}

TEST_F(Startup, ClosingTheBarGivesItsStripBack) {
    start();
    // While the bar is docked, a newcomer on the same edge is pushed above it.
    EXPECT_EQ(e2e::bottomOfferedToANewcomer(), 744);
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));
    EXPECT_EQ(e2e::bottomOfferedToANewcomer(), 768);
    EXPECT_EQ(e2e::findBar(), nullptr);
}

bool isTopmost(HWND w) {
    return (GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST_F(Startup, AFullScreenApplicationPushesTheBarBackOnlyWhenNotForcedOnTop) {
    e2e::writeSetting("Force placement over fullscreen popups", 0);
    start();
    ASSERT_TRUE(isTopmost(bar_));
    HWND above = GetWindow(bar_, GW_HWNDPREV);
    ASSERT_NE(above, nullptr);
    // Wine never reports full-screen applications itself; the shell's notification is delivered directly.
    EXPECT_EQ(SendMessageA(bar_, WM_USER + 2, ABN_FULLSCREENAPP, 1), 1);
    EXPECT_FALSE(isTopmost(bar_));
    EXPECT_EQ(GetWindow(bar_, GW_HWNDNEXT), nullptr) << "the bar is at the bottom of the z-order";
    // The application closes: the bar returns directly under the window that was above it.
    EXPECT_EQ(SendMessageA(bar_, WM_USER + 2, ABN_FULLSCREENAPP, 0), 1);
    EXPECT_EQ(GetWindow(bar_, GW_HWNDPREV), above);
}

TEST_F(Startup, ForcedOnTopTheBarIgnoresFullScreenApplications) {
    start();
    EXPECT_EQ(SendMessageA(bar_, WM_USER + 2, ABN_FULLSCREENAPP, 1), 1);
    EXPECT_TRUE(isTopmost(bar_));
}

TEST_F(Startup, APositionChangeNotificationDocksTheBarAgain) {
    start();
    // Someone moved the bar; the shell's "position changed" puts it back on its edge.
    SetWindowPos(bar_, nullptr, 100, 100, 200, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(SendMessageA(bar_, WM_USER + 2, ABN_POSCHANGED, 0), 1);
    RECT rc = rectOf(bar_);
    EXPECT_EQ(rc.top, 744);
    EXPECT_EQ(rc.right - rc.left, 1024);
}

} // namespace
