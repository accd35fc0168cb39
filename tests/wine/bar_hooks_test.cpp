// The real bar with its hook libraries, against the stand-in taskbar and stand-in browsers in processes of
// their own: what a user sees of the hooks.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "kit/bar_fixture.h"
#include "kit/standin.h"
#include "kit/tray.h"
#include "tools/standin-taskbar/standin_taskbar.h"

namespace {

class BarHooks : public e2e::BarProgramTest {
  protected:
    void openTaskbarAndWindows(const char* taskbarOptions = "--manual") {
        tray = standin::openTaskbar(taskbar, taskbarOptions);
        ASSERT_NE(tray, nullptr);
        browser = standin::openBrowser(browserProcess,
                                       "--class IEFrame --title \"Home - Microsoft Internet Explorer\"");
        folder = standin::openBrowser(folderProcess, "--class CabinetWClass --title Documents");
        other = standin::openBrowser(otherProcess, "--class CorvaneOtherProgram --title Notes");
        ASSERT_TRUE(browser && folder && other);
        ASSERT_EQ(SendMessageA(tray, standin::kSync, 0, 0), 3);
    }
    void startBar() { ASSERT_TRUE(e2e::startBar(proc_, &bar_, 10000, false)); }
    bool hasItem(HWND window) {
        return SendMessageA(tray, standin::kHasItem, reinterpret_cast<WPARAM>(window), 0);
    }
    // The bar keeps one tool tip tool per tracked window: its count shows what the shell hook reported.
    // Opens a browser window in a process of its own once the bar runs; null unless the shell hook's report
    // of it reached the bar (before the window could even be shown) and the bar tracks one window more.
    HWND openLateBrowser(kit::Process& process, int trackedBefore) {
        HWND late =
            standin::openBrowser(process, "--class IEFrame --title \"Late - Microsoft Internet Explorer\"");
        if (!late || !kit::waitFor([&] { return e2e::toolCount(bar_) == trackedBefore + 1; })) return nullptr;
        return late;
    }
    // The taskbar's next message brings the library into its thread; waits for the window's item to go.
    bool itemGoes(HWND window) {
        return kit::waitFor([&] { return !hasItem(window); });
    }

    kit::Process taskbar, browserProcess, folderProcess, otherProcess;
    HWND tray = nullptr, browser = nullptr, folder = nullptr, other = nullptr;
};

TEST_F(BarHooks, AtStartTheBrowserItemLeavesTheTaskbarAndFolderItemsStayUnlessCaught) {
    e2e::writeSetting("Catch Windows Explorer windows", 0);
    openTaskbarAndWindows();
    startBar();
    EXPECT_TRUE(itemGoes(browser));
    EXPECT_TRUE(hasItem(folder));
    EXPECT_TRUE(hasItem(other));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));

    // Caught folder windows: a new taskbar, a new start.
    ASSERT_TRUE(taskbar.close());
    e2e::writeSetting("Catch Windows Explorer windows", 1);
    tray = standin::openTaskbar(taskbar, "--manual");
    ASSERT_NE(tray, nullptr);
    ASSERT_EQ(SendMessageA(tray, standin::kSync, 0, 0), 3);
    startBar();
    EXPECT_TRUE(itemGoes(folder));
    EXPECT_FALSE(hasItem(browser));
    EXPECT_TRUE(hasItem(other));
}

TEST_F(BarHooks, ABrowserOfAnotherProcessIsTrackedAndLosesItsItemAtTheTaskbarsNextLayout) {
    openTaskbarAndWindows();
    startBar();
    ASSERT_TRUE(itemGoes(browser));
    int tracked = e2e::toolCount(bar_);
    kit::Process lateProcess;
    HWND late = openLateBrowser(lateProcess, tracked);
    ASSERT_NE(late, nullptr);
    SendMessageA(tray, standin::kSync, 0, 0);
    EXPECT_TRUE(hasItem(late));
    SendMessageA(tray, standin::kLayOut, 0, 0);
    EXPECT_FALSE(hasItem(late));
    ASSERT_TRUE(lateProcess.close());
    EXPECT_TRUE(kit::waitFor([&] { return e2e::toolCount(bar_) == tracked; }));
}

TEST_F(BarHooks, EachRestartedTaskbarIsHookedAgainAndLosesItsBrowserItems) {
    e2e::writeSetting("Catch Windows Explorer windows", 0);
    openTaskbarAndWindows();
    startBar();
    ASSERT_TRUE(itemGoes(browser));
    int tracked = e2e::toolCount(bar_);
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        // Even rounds the taskbar dies without a word, odd rounds it closes: the next one announces itself.
        if (round % 2 == 0) {
            TerminateProcess(taskbar.handle(), 1);
            ASSERT_EQ(WaitForSingleObject(taskbar.handle(), 10000), WAIT_OBJECT_0);
        } else {
            ASSERT_TRUE(taskbar.close());
        }
        tray = standin::openTaskbar(taskbar, "--manual --announce");
        ASSERT_NE(tray, nullptr) << "start error " << taskbar.startError() << ", running "
                                 << taskbar.running();
        // The new taskbar may answer while its start-up still waits on the shell hook, before it listed any
        // window: an item is looked for only once the list was made.
        SendMessageA(tray, standin::kSync, 0, 0);
        EXPECT_TRUE(itemGoes(browser));
        EXPECT_TRUE(hasItem(folder));
        EXPECT_TRUE(hasItem(other));
    }
    // The bar went on tracking through it all.
    EXPECT_EQ(e2e::toolCount(bar_), tracked);
    kit::Process lateProcess;
    HWND late = openLateBrowser(lateProcess, tracked);
    ASSERT_NE(late, nullptr);
    SendMessageA(tray, standin::kSync, 0, 0);
    SendMessageA(tray, standin::kLayOut, 0, 0);
    EXPECT_FALSE(hasItem(late));
}

TEST_F(BarHooks, WithoutATaskbarThatKeepsATabControlTheBarStartsWithoutAWord) {
    startBar();
    EXPECT_EQ(tray::dialogOf(proc_.id(), "cvth.dll : error !"), nullptr);
    // Nor after a new taskbar announced itself.
    SendMessageTimeoutA(bar_, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_BLOCK, 3000, nullptr);
    EXPECT_EQ(tray::dialogOf(proc_.id(), "cvth.dll : error !"), nullptr);
    EXPECT_TRUE(e2e::closeBar(proc_, bar_));
}

} // namespace
