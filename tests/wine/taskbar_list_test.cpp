// The bar outside Wine's virtual desktop, with a window manager that keeps the desktop conventions: a window
// whose taskbar button was taken off carries _NET_WM_STATE_SKIP_TASKBAR on its X window, read with xprop.
// Run by plain_desktop.sh (a display of its own, its own Wine prefix).
#include <gtest/gtest.h>
#include <windows.h>

#include <shobjidl.h>

#include <fstream>
#include <iterator>
#include <string>

#include "kit/bar_fixture.h"
#include "kit/standin.h"

namespace {

constexpr int kCloseButton = 218;

// What xprop says about the X window of the Wine window with this title ("" when it cannot run). A Unix
// program started from Wine is not waited for through its handle: the shell renames its output into place
// once it is complete.
std::string netWmState(const std::string& title) {
    static int calls = 0;
    const std::string name =
        "/tmp/corvane-xprop-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++calls);
    std::string command = "Z:\\bin\\sh -c \"xprop -name '" + title + "' _NET_WM_STATE >" + name +
                          ".part 2>/dev/null; mv " + name + ".part " + name + ".txt\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return "";
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    const std::string result = "Z:" + name + ".txt";
    kit::waitFor([&] { return GetFileAttributesA(result.c_str()) != INVALID_FILE_ATTRIBUTES; });
    std::ifstream in(result);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    DeleteFileA(result.c_str());
    return text;
}

bool skipsTaskbar(const std::string& title) {
    return netWmState(title).find("_NET_WM_STATE_SKIP_TASKBAR") != std::string::npos;
}

bool waitSkips(const std::string& title, bool skips, DWORD timeoutMs = 8000) {
    return kit::waitFor([&] { return skipsTaskbar(title) == skips; }, timeoutMs);
}

class TaskbarList : public e2e::BarTest {
  protected:
    void SetUp() override {
        e2e::BarTest::SetUp();
        // Titles of their own: the X windows of an earlier test's windows may outlive them a moment.
        const std::string tag = std::to_string(GetTickCount());
        page = "Page " + tag + " - Google Chrome";
        plain = "Plain " + tag;
        ASSERT_TRUE(standin::startBrowserAs(chrome_, "chrome.exe",
                                            "--class Chrome_WidgetWin_1 --title \"" + page + "\""));
        ASSERT_TRUE(plain_.start(kit::toolPath("standin-browser\\cv-browser.exe"),
                                 "--class CorvanePlain --title \"" + plain + "\""));
        // By its class: under load a hidden window of the same program may come first.
        ASSERT_TRUE(kit::waitFor(
            [&] { return (page_ = kit::findWindowOf(chrome_.id(), "Chrome_WidgetWin_1")) != nullptr; }));
        ASSERT_TRUE(kit::waitFor([&] {
            return netWmState(plain).find("_NET_WM_STATE") != std::string::npos;
        })) << "no window manager keeps the state of the windows in this display";
    }
    void start() { BarTest::start(false); }

    std::string page, plain;
    kit::Process chrome_, plain_;
    HWND page_ = nullptr;
};

TEST_F(TaskbarList, TrackedWindowsLeaveTheTaskbarUntilTheBarEndsByCloseOrByWmClose) {
    for (bool byCloseButton : {true, false}) {
        SCOPED_TRACE(byCloseButton);
        start();
        EXPECT_TRUE(waitSkips(page, true));
        EXPECT_FALSE(skipsTaskbar(plain));
        if (byCloseButton) {
            PostMessageA(bar_, WM_COMMAND, MAKEWPARAM(kCloseButton, BN_CLICKED), 0);
            ASSERT_TRUE(proc_.waitExit(10000));
        } else {
            ASSERT_TRUE(e2e::closeBar(proc_, bar_));
        }
        bar_ = nullptr;
        EXPECT_TRUE(waitSkips(page, false));
    }
}

TEST_F(TaskbarList, AWindowThatLeavesAndReturnsQuicklyEndsAsItsLastReportSays) {
    start();
    ASSERT_TRUE(waitSkips(page, true));
    // Reports faster than the shell answers: the button must end as the last one asks, and stay so.
    for (LPARAM last : {e2e::kDestroyed, e2e::kCreated}) {
        SCOPED_TRACE(last);
        const LPARAM other = last == e2e::kCreated ? e2e::kDestroyed : e2e::kCreated;
        for (LPARAM code : {last, other, last})
            e2e::shellEvent(bar_, page_, code);
        const bool off = last == e2e::kCreated;
        EXPECT_TRUE(waitSkips(page, off));
        kit::settle(500);
        EXPECT_EQ(skipsTaskbar(page), off);
    }
}

TEST_F(TaskbarList, ANewTaskbarHasTheButtonTakenOffAgain) {
    start();
    ASSERT_TRUE(waitSkips(page, true));
    // A restarted shell shows every button again.
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ITaskbarList* list = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList,
                                           reinterpret_cast<void**>(&list))));
    list->HrInit();
    list->AddTab(page_);
    list->Release();
    CoUninitialize();
    // About one run in six the X window keeps the state although Wine was asked to clear it, and asking again
    // changes nothing: this test cannot tell anything then.
    if (!waitSkips(page, false)) GTEST_SKIP() << "the window manager never showed the button given back";
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG,
                        3000, nullptr);
    EXPECT_TRUE(waitSkips(page, true));
}

} // namespace
