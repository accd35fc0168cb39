// The bar built to fault on any use of freed memory and on oversized tool tip records (probe_bar_main.cpp),
// driven from outside as a user, an uninstaller or a hostile local program would.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/app.h"
#include "kit/bar_fixture.h"
#include "kit/browsers.h"
#include "kit/input.h"
#include "kit/tray.h"

namespace {

constexpr int kNewBrowserButton = 245;
constexpr int kHideRestore = 125;

class ProbeBar : public e2e::FaultingBarTest {
  protected:
    void SetUp() override {
        FaultingBarTest::SetUp();
        e2e::writeSetting("Maximize browser windows", 0);
        kit::moveTo(512, 300);
    }
    void TearDown() override {
        kit::leftUp();
        if (HWND menu = tray::popupMenu()) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        FaultingBarTest::TearDown();
    }
    void start() {
        ASSERT_TRUE(proc_.start("\"" + kit::binDir() + "\\probe\\corvane_probe.exe\""));
        ASSERT_TRUE(
            kit::waitFor([&] { return (bar_ = e2e::findBar()) != nullptr && IsWindowVisible(bar_); }));
        browsers_.setBar(bar_);
    }
    // The probe's exit code tells freed memory used (a fault) and oversized records (3) apart from 0.
    void expectCleanEnd() {
        ASSERT_TRUE(proc_.waitExit(10000));
        EXPECT_EQ(proc_.exitCode(), 0u);
    }

    e2e::TestBrowsers browsers_;
};

// The uninstaller closes the bar however the user left it: here with the New browser button's hold menu
// open, so the button's handler is still running when its bar (which holds the button) is destroyed.
TEST_F(ProbeBar, ClosedSentOrPostedWhileTheHoldMenuIsOpenTheBarEndsCleanly) {
    for (bool sent : {true, false}) {
        SCOPED_TRACE(sent ? "sent" : "posted");
        start();
        RECT button{};
        GetWindowRect(GetDlgItem(bar_, kNewBrowserButton), &button);
        ASSERT_TRUE(kit::moveTo((button.left + button.right) / 2, (button.top + button.bottom) / 2));
        kit::leftDown();
        ASSERT_TRUE(kit::waitFor([] { return tray::popupMenu() != nullptr; }));
        DWORD_PTR ignored = 0;
        if (sent) {
            SendMessageTimeoutA(bar_, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &ignored);
        } else {
            PostMessageA(bar_, WM_CLOSE, 0, 0);
        }
        kit::leftUp();
        expectCleanEnd();
        bar_ = nullptr;
    }
}

// Tools are added, moved and deleted as browser windows come and go; the probe fails any record larger
// than the version-5 common controls accept (they would refuse it, and the tip would be missing).
TEST_F(ProbeBar, ToolRecordsOfBrowserButtonsFitTheOlderCommonControls) {
    start();
    browsers_.open("First");
    HWND second = browsers_.open("Second");
    ASSERT_TRUE(kit::waitFor([&] { return e2e::toolCount(bar_) == 2; }));
    browsers_.close(second);
    ASSERT_TRUE(kit::waitFor([&] { return e2e::toolCount(bar_) == 1; }));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));
    expectCleanEnd();
}

// Nothing in a window message tells who sent it: made-up values in the bar's private messages, posted and
// sent by this (another) process, are never read as pointers, and the bar goes on obeying commands.
TEST_F(ProbeBar, PrivateMessagesWithMadeUpValuesLeaveTheBarWorking) {
    start();
    const WPARAM madeUp[] = {1, 0x10, 0xDEADBEEF, static_cast<WPARAM>(-1)};
    for (UINT msg :
         {app::WM_BAR_TRAYNOTIFY, app::WM_BAR_APPBARNOTIFY, app::WM_BAR_SHELLEVENT, app::WM_BAR_HTTPREPLY}) {
        for (WPARAM w : madeUp) {
            PostMessageA(bar_, msg, w, 2);
            DWORD_PTR ignored = 0;
            EXPECT_NE(SendMessageTimeoutA(bar_, msg, w, 2, SMTO_ABORTIFHUNG, 3000, &ignored), 0u)
                << "message " << msg << " wParam " << w;
        }
    }
    PostMessageA(bar_, WM_COMMAND, kHideRestore, 0);
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindowVisible(bar_); }));
    PostMessageA(bar_, WM_COMMAND, kHideRestore, 0);
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) != FALSE; }));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));
    expectCleanEnd();
}

} // namespace
