// The real bar with its hook libraries, against the stand-in taskbar and stand-in browsers in processes of
// their own: what a user sees of the hooks.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "kit/bar.h"
#include "kit/standin.h"
#include "tools/standin-taskbar/standin_taskbar.h"

namespace {

// The bar keeps one tool tip tool per tracked window: its count shows what the shell hook reported.
BOOL CALLBACK findTips(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<std::pair<HWND, HWND>*>(param);
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0 || GetWindow(window, GW_OWNER) != found->first) return TRUE;
    // The own buttons' tips belong to the bar too; the browser buttons' control is the one without prefixes.
    if (!(GetWindowLongPtrA(window, GWL_STYLE) & TTS_NOPREFIX)) return TRUE;
    found->second = window;
    return FALSE;
}

int trackedCount(HWND bar) {
    std::pair<HWND, HWND> found{bar, nullptr};
    EnumWindows(findTips, reinterpret_cast<LPARAM>(&found));
    return found.second ? static_cast<int>(SendMessageA(found.second, TTM_GETTOOLCOUNT, 0, 0)) : -1;
}

// A message box of another process, by caption; its text and the box, or null.
struct ForeignBox {
    DWORD pid;
    HWND box;
    std::string text;
};

BOOL CALLBACK readBoxText(HWND child, LPARAM param) {
    char name[32] = {}, text[256] = {};
    GetClassNameA(child, name, sizeof(name));
    if (lstrcmpiA(name, "Static") == 0 && GetWindowTextA(child, text, sizeof(text)) > 0)
        reinterpret_cast<ForeignBox*>(param)->text = text;
    return TRUE;
}

bool findBox(ForeignBox& box, const char* caption) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", caption); w;
         w = FindWindowExA(nullptr, w, "#32770", caption)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != box.pid || !IsWindowVisible(w)) continue;
        box.box = w;
        EnumChildWindows(w, readBoxText, reinterpret_cast<LPARAM>(&box));
        return true;
    }
    return false;
}

class BarHooks : public ::testing::Test {
  protected:
    void SetUp() override {
        e2e::deleteSettingsKey();
        ASSERT_EQ(e2e::findBar(), nullptr) << "a bar from an earlier test is still running";
    }
    void TearDown() override {
        if (bar && IsWindow(bar)) e2e::closeBar(barProcess, bar);
        barProcess.kill();
        e2e::deleteSettingsKey();
    }
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
    void startBar() {
        ASSERT_TRUE(barProcess.start("\"" + kit::distDir() + "\\corvane.exe\""))
            << "error " << barProcess.startError();
        ASSERT_TRUE(kit::waitFor([&] {
            bar = e2e::findBar();
            return bar && IsWindowVisible(bar);
        }));
    }
    bool hasItem(HWND window) {
        return SendMessageA(tray, standin::kHasItem, reinterpret_cast<WPARAM>(window), 0);
    }
    // Opens a browser window in a process of its own once the bar runs; null unless the shell hook's report
    // of it reached the bar (before the window could even be shown) and the bar tracks one window more.
    HWND openLateBrowser(kit::Process& process, int trackedBefore) {
        HWND late =
            standin::openBrowser(process, "--class IEFrame --title \"Late - Microsoft Internet Explorer\"");
        if (!late || !kit::waitFor([&] { return trackedCount(bar) == trackedBefore + 1; })) return nullptr;
        return late;
    }
    // The taskbar's next message brings the library into its thread; waits for the window's item to go.
    bool itemGoes(HWND window) {
        return kit::waitFor([&] { return !hasItem(window); });
    }

    kit::Process taskbar, browserProcess, folderProcess, otherProcess;
    kit::Process barProcess;
    HWND tray = nullptr, browser = nullptr, folder = nullptr, other = nullptr, bar = nullptr;
};

TEST_F(BarHooks, AtStartTheBrowserItemLeavesTheTaskbarAndFolderItemsStayUnlessCaught) {
    e2e::writeSetting("Catch Windows Explorer windows", 0);
    openTaskbarAndWindows();
    startBar();
    EXPECT_TRUE(itemGoes(browser));
    EXPECT_TRUE(hasItem(folder));
    EXPECT_TRUE(hasItem(other));
    ASSERT_TRUE(e2e::closeBar(barProcess, bar));

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
    int tracked = trackedCount(bar);
    kit::Process lateProcess;
    HWND late = openLateBrowser(lateProcess, tracked);
    ASSERT_NE(late, nullptr);
    SendMessageA(tray, standin::kSync, 0, 0);
    EXPECT_TRUE(hasItem(late));
    SendMessageA(tray, standin::kLayOut, 0, 0);
    EXPECT_FALSE(hasItem(late));
    ASSERT_TRUE(lateProcess.close());
    EXPECT_TRUE(kit::waitFor([&] { return trackedCount(bar) == tracked; }));
}

TEST_F(BarHooks, EachRestartedTaskbarIsHookedAgainAndLosesItsBrowserItems) {
    e2e::writeSetting("Catch Windows Explorer windows", 0);
    openTaskbarAndWindows();
    startBar();
    ASSERT_TRUE(itemGoes(browser));
    int tracked = trackedCount(bar);
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
        ASSERT_NE(tray, nullptr);
        // The new taskbar may answer while its start-up still waits on the shell hook, before it listed any
        // window: an item is looked for only once the list was made.
        SendMessageA(tray, standin::kSync, 0, 0);
        EXPECT_TRUE(itemGoes(browser));
        EXPECT_TRUE(hasItem(folder));
        EXPECT_TRUE(hasItem(other));
    }
    // The bar went on tracking through it all.
    EXPECT_EQ(trackedCount(bar), tracked);
    kit::Process lateProcess;
    HWND late = openLateBrowser(lateProcess, tracked);
    ASSERT_NE(late, nullptr);
    SendMessageA(tray, standin::kSync, 0, 0);
    SendMessageA(tray, standin::kLayOut, 0, 0);
    EXPECT_FALSE(hasItem(late));
}

TEST_F(BarHooks, WithoutATaskbarThatKeepsATabControlTheBarStartsWithoutAWord) {
    ASSERT_TRUE(barProcess.start("\"" + kit::distDir() + "\\corvane.exe\""));
    ASSERT_TRUE(kit::waitFor([] { return IsWindowVisible(e2e::findBar()) != FALSE; }));
    ForeignBox box{barProcess.id(), nullptr, {}};
    EXPECT_FALSE(findBox(box, "cvth.dll : error !"));
    // Nor after a new taskbar announced itself.
    SendMessageTimeoutA(e2e::findBar(), RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_BLOCK, 3000,
                        nullptr);
    EXPECT_FALSE(findBox(box, "cvth.dll : error !"));
    PostMessageA(e2e::findBar(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(barProcess.waitExit(10000));
}

} // namespace
