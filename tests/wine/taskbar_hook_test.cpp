// The taskbar hook library loaded the way the bar loads it, against the stand-in taskbar (cv-taskbar.exe
// in --manual mode, so that it lays out its buttons only when told to).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "hooks/taskbar/cvth.h"
#include "kit/standin.h"
#include "tools/standin-taskbar/standin_taskbar.h"

namespace {

constexpr const char* kEventName = "{1F6C5480-155E-11d5-93A8-444553540000}";
constexpr const char* kCaption = "cvth.dll : error !";

int announcements = 0;

// Does what the bar does when the taskbar announces itself.
LRESULT CALLBACK listenerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    if (msg != taskbarCreated) return DefWindowProcA(hwnd, msg, wParam, lParam);
    ++announcements;
    SetTaskbarHook(0);
    return 0;
}

class TaskbarHook : public ::testing::Test {
  protected:
    void SetUp() override {
        // Held here so that the taskbar's side of the first pass has an event to signal.
        event = CreateEventA(nullptr, TRUE, FALSE, kEventName);
        ASSERT_NE(event, nullptr);
        ResetEvent(event);
        tray = standin::openTaskbar(taskbar, "--manual");
        ASSERT_NE(tray, nullptr);
        browsers = openWindows("--class IEFrame --title \"Two - Microsoft Internet Explorer\" --count 2");
        ASSERT_NE(browsers, nullptr);
        secondBrowser = nextWindowOf(browsers);
        ASSERT_NE(secondBrowser, nullptr);
        folder = openWindows("--class CabinetWClass --title Documents", &folderProcess);
        other = openWindows("--class CorvaneOtherProgram --title Notes", &otherProcess);
        nearMiss =
            openWindows("--class IEFrame2 --title \"Near - Microsoft Internet Explorer\"", &nearMissProcess);
        ASSERT_TRUE(folder && other && nearMiss);
        ASSERT_EQ(sync(), 5);
    }
    void TearDown() override {
        RemoveTaskbarHook();
        CloseHandle(event);
    }

    HWND openWindows(const std::string& arguments, kit::Process* process = nullptr) {
        return standin::openBrowser(process ? *process : browserProcess, arguments);
    }
    HWND nextWindowOf(HWND first) {
        DWORD pid = 0;
        GetWindowThreadProcessId(first, &pid);
        HWND found = nullptr;
        kit::waitFor([&] {
            for (HWND w : kit::topLevelWindows("IEFrame", nullptr, pid))
                if (w != first) found = w;
            return found != nullptr;
        });
        return found;
    }
    LRESULT ask(UINT msg, WPARAM wParam = 0) { return SendMessageA(tray, msg, wParam, 0); }
    int sync() { return static_cast<int>(ask(standin::kSync, 0)); }
    bool hasItem(HWND window) { return ask(standin::kHasItem, reinterpret_cast<WPARAM>(window)) != 0; }
    // Whether the browsers, the second browser, the folder, the other program and the near miss have items.
    void expectItems(const std::vector<bool>& expected) {
        const HWND windows[] = {browsers, secondBrowser, folder, other, nearMiss};
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(hasItem(windows[i]), expected[i]) << "window " << i;
    }
    // The taskbar's side runs its first pass when the library comes into its thread: a message sent there
    // brings it in on this platform.
    bool firstPassDone() {
        return kit::waitFor([&] {
            ask(standin::kItemCount);
            return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
        });
    }

    bool hooked(int catchExplorer) { return SetTaskbarHook(catchExplorer) == 1 && firstPassDone(); }

    HANDLE event = nullptr;
    kit::Process taskbar, browserProcess, folderProcess, otherProcess, nearMissProcess;
    HWND tray = nullptr, browsers = nullptr, secondBrowser = nullptr, folder = nullptr, other = nullptr,
         nearMiss = nullptr;
};

TEST_F(TaskbarHook, TheFirstPassRemovesBrowserItemsOnlyAndAsksForTheCountOnce) {
    LRESULT queriesBefore = ask(standin::kCountQueries);
    ASSERT_TRUE(hooked(0));
    expectItems({false, false, true, true, true});
    EXPECT_EQ(ask(standin::kItemCount), 3);
    EXPECT_EQ(ask(standin::kCountQueries) - queriesBefore, 1);
}

TEST_F(TaskbarHook, WithTheExplorerFlagFolderItemsGoToo) {
    ASSERT_TRUE(hooked(1));
    expectItems({false, false, false, true, true});
}

TEST_F(TaskbarHook, ABrowserOpenedLaterLosesItsItemAtTheNextLayoutWithoutThePassRecursing) {
    ASSERT_TRUE(hooked(0));
    kit::Process lateBrowserProcess, lateOtherProcess;
    HWND lateBrowser = openWindows("--class IEFrame --title Late", &lateBrowserProcess);
    HWND lateOther = openWindows("--class CorvaneOtherProgram --title Later", &lateOtherProcess);
    ASSERT_TRUE(lateBrowser && lateOther);
    ASSERT_EQ(sync(), 5);
    EXPECT_TRUE(hasItem(lateBrowser)); // no layout yet, so no pass
    LRESULT queriesBefore = ask(standin::kCountQueries);
    EXPECT_EQ(ask(standin::kLayOut), 4); // the taskbar already sees the reduced list
    EXPECT_FALSE(hasItem(lateBrowser));
    EXPECT_TRUE(hasItem(lateOther));
    // The layout's own query and the pass's one; the pass does not start again from its own query.
    EXPECT_EQ(ask(standin::kCountQueries) - queriesBefore, 2);
}

TEST_F(TaskbarHook, AfterRemovalLayoutsLeaveNewBrowserItemsAndASecondRemovalDoesNothing) {
    ASSERT_TRUE(hooked(0));
    RemoveTaskbarHook();
    RemoveTaskbarHook();
    kit::Process lateProcess;
    HWND late = openWindows("--class IEFrame --title Late", &lateProcess);
    ASSERT_NE(late, nullptr);
    sync();
    ask(standin::kLayOut);
    EXPECT_TRUE(hasItem(late));
    EXPECT_TRUE(hasItem(folder)); // items already removed stay removed, the others stay
    EXPECT_FALSE(hasItem(browsers));
}

TEST_F(TaskbarHook, AnotherProcessThatLoadsTheLibraryAndEndsLeavesTheHookInPlace) {
    ASSERT_TRUE(hooked(0));
    // This test program imports the library: run it once more, doing nothing, and let it end.
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    kit::Process copy;
    ASSERT_TRUE(copy.start(self, "--gtest_filter=-*"));
    ASSERT_TRUE(kit::waitFor([&] { return !copy.running(); }));
    kit::Process lateProcess;
    HWND late = openWindows("--class IEFrame --title Late", &lateProcess);
    ASSERT_NE(late, nullptr);
    sync();
    ask(standin::kLayOut);
    EXPECT_FALSE(hasItem(late));
}

TEST_F(TaskbarHook, ARecreatedTaskbarIsHookedAgainWhenItAnnouncesItself) {
    ASSERT_TRUE(hooked(0));
    ASSERT_TRUE(taskbar.close());
    ResetEvent(event);

    // A listener like the bar's: a hidden top-level window, so that the broadcast reaches it.
    announcements = 0;
    WNDCLASSA wc{};
    wc.lpfnWndProc = listenerProc;
    wc.lpszClassName = "CorvaneTaskbarListener";
    RegisterClassA(&wc);
    HWND listener =
        CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(listener, nullptr);

    tray = standin::openTaskbar(taskbar, "--manual --announce");
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(kit::waitFor([] { return announcements > 0; }));
    ASSERT_TRUE(firstPassDone());
    expectItems({false, false, true, true, true});
    DestroyWindow(listener);
}

void expectNoTaskbarFound(int catchExplorer) {
    standin::MessageBoxWatcher watcher(kCaption);
    EXPECT_EQ(SetTaskbarHook(catchExplorer), 0);
    EXPECT_EQ(watcher.count(), 1);
    EXPECT_EQ(watcher.lastText(), "Can't locate the taskbar!");
}

TEST(TaskbarHookFailures, ATaskListWithoutATabControlIsNotATaskbar) {
    kit::Process taskbar;
    ASSERT_NE(standin::openTaskbar(taskbar, "--manual --no-tab-control"), nullptr);
    expectNoTaskbarFound(0);
}

TEST(TaskbarHookFailures, WithoutAStandInOnlyThePlatformsOwnTrayIsFoundAndRefused) {
    HWND platformTray = FindWindowA("Shell_TrayWnd", nullptr);
    ASSERT_EQ(FindWindowExA(platformTray, nullptr, "RebarWindow32", nullptr), nullptr);
    ASSERT_EQ(FindWindowExA(platformTray, nullptr, "MSTaskSwWClass", nullptr), nullptr);
    expectNoTaskbarFound(1);
    RemoveTaskbarHook();
}

} // namespace
