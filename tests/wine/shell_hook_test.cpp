// The shell hook library loaded the way the bar loads it (through the import table): events of windows in
// other processes reach the target window, posted, as cvsh::kShellEventMessage.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hooks/shell/cvsh.h"
#include "kit/standin.h"

namespace {

struct Event {
    HWND window;
    LPARAM code;
    std::string className;
    DWORD pid;
};

std::vector<Event> events;

LRESULT CALLBACK targetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != cvsh::kShellEventMessage) return DefWindowProcA(hwnd, msg, wParam, lParam);
    // A report arrives after the fact: the class of a window already gone reads empty.
    Event event{reinterpret_cast<HWND>(wParam), lParam, {}, 0};
    char name[256] = {};
    GetClassNameA(event.window, name, sizeof(name));
    event.className = name;
    GetWindowThreadProcessId(event.window, &event.pid);
    events.push_back(event);
    return 0;
}

bool received(HWND window, LPARAM code) {
    return std::any_of(events.begin(), events.end(),
                       [&](const Event& e) { return e.window == window && e.code == code; });
}

class ShellHook : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = targetProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CorvaneShellHookTarget";
        RegisterClassA(&wc);
        target = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "target", WS_POPUP, 0, 0, 10, 10,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(target, nullptr);
        events.clear();
    }
    void TearDown() override {
        RemoveShellHook();
        DestroyWindow(target);
    }
    HWND target = nullptr;
};

TEST_F(ShellHook, ABrowserWindowOfAnotherProcessIsReportedAtCreationAndDestruction) {
    ASSERT_EQ(SetShellHook(target), 1);
    kit::Process browser;
    HWND window =
        standin::openBrowser(browser, "--class IEFrame --title \"Hooked - Microsoft Internet Explorer\"");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(kit::waitFor([&] { return received(window, HSHELL_WINDOWCREATED); }));
    for (const Event& e : events)
        if (e.window == window && e.code == HSHELL_WINDOWCREATED) {
            EXPECT_EQ(e.className, "IEFrame");
            EXPECT_EQ(e.pid, browser.id());
        }
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(kit::waitFor([&] { return received(window, HSHELL_WINDOWDESTROYED); }));
    EXPECT_TRUE(browser.close());
}

TEST_F(ShellHook, RemovingTheHookStopsTheReportsAndASecondRemovalReturnsZero) {
    ASSERT_EQ(SetShellHook(target), 1);
    EXPECT_NE(RemoveShellHook(), 0);
    EXPECT_EQ(RemoveShellHook(), 0);
    kit::Process browser;
    HWND window = standin::openBrowser(browser, "--class IEFrame --title Unhooked");
    ASSERT_NE(window, nullptr);
    // A report would have been posted by the time the window was shown.
    EXPECT_TRUE(browser.close());
    EXPECT_TRUE(
        std::none_of(events.begin(), events.end(), [&](const Event& e) { return e.pid == browser.id(); }));
}

TEST_F(ShellHook, SettingItAgainAfterARemovalReportsToTheNewTarget) {
    ASSERT_EQ(SetShellHook(target), 1);
    ASSERT_NE(RemoveShellHook(), 0);
    ASSERT_EQ(SetShellHook(target), 1);
    kit::Process browser;
    HWND window = standin::openBrowser(browser, "--class CabinetWClass --title Folder");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(kit::waitFor([&] { return received(window, HSHELL_WINDOWCREATED); }));
    EXPECT_TRUE(browser.close());
}

} // namespace
