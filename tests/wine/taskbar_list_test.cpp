// The bar outside Wine's virtual desktop, with a window manager that keeps the desktop conventions: a window
// whose taskbar button was taken off carries _NET_WM_STATE_SKIP_TASKBAR on its X window, read with xprop.
// Run by plain_desktop.sh (a display of its own, its own Wine prefix).
#include <gtest/gtest.h>
#include <windows.h>

#include <shobjidl.h>

#include <fstream>
#include <sstream>
#include <string>

#include "bar_fixture.h"
#include "standin_support.h"

namespace {

constexpr int kCloseButton = 218;

// What xprop says about the X window of the Wine window with this title ("" when it cannot run).
std::string netWmState(const std::string& title) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string outFile = std::string(temp) + "corvane-xprop.txt";
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE out = CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    PROCESS_INFORMATION pi{};
    std::string command = "Z:\\usr\\bin\\xprop -name \"" + title + "\" _NET_WM_STATE";
    BOOL ok = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(out);
    if (!ok) return "";
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::ifstream in(outFile);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool skipsTaskbar(const std::string& title) {
    return netWmState(title).find("_NET_WM_STATE_SKIP_TASKBAR") != std::string::npos;
}

bool waitSkips(const std::string& title, bool skips) {
    return e2e::waitFor([&] { return skipsTaskbar(title) == skips; }, 8000);
}

class TaskbarList : public e2e::BarTest {
  protected:
    void SetUp() override {
        e2e::BarTest::SetUp();
        ASSERT_TRUE(standin::startBrowserAs(chrome_, "chrome.exe",
                                            "--class Chrome_WidgetWin_1 --title \"Page - Google Chrome\""));
        ASSERT_TRUE(plain_.start(standin::toolPath("standin-browser\\cv-browser.exe"),
                                 "--class CorvanePlain --title Plain"));
        ASSERT_TRUE(e2e::waitFor([&] { return (page_ = standin::findWindowOf(chrome_.id())) != nullptr; }));
        ASSERT_TRUE(e2e::waitFor([&] { return netWmState("Plain").find("_NET_WM_STATE") != std::string::npos; }))
            << "no window manager keeps the state of the windows in this display";
    }
    void start() {
        ASSERT_TRUE(e2e::startBar(proc_, &bar_, 10000, false));
        browsers_.setBar(bar_);
    }

    standin::Process chrome_, plain_;
    HWND page_ = nullptr;
};

TEST_F(TaskbarList, TrackedWindowsLeaveTheTaskbarUntilTheBarEndsByCloseOrByWmClose) {
    for (bool byCloseButton : {true, false}) {
        SCOPED_TRACE(byCloseButton);
        start();
        EXPECT_TRUE(waitSkips("Page - Google Chrome", true));
        EXPECT_FALSE(skipsTaskbar("Plain"));
        if (byCloseButton) {
            PostMessageA(bar_, WM_COMMAND, MAKEWPARAM(kCloseButton, BN_CLICKED), 0);
            ASSERT_TRUE(proc_.waitExit(10000));
        } else {
            ASSERT_TRUE(e2e::closeBar(proc_, bar_));
        }
        bar_ = nullptr;
        EXPECT_TRUE(waitSkips("Page - Google Chrome", false));
    }
}

TEST_F(TaskbarList, ANewTaskbarHasTheButtonTakenOffAgain) {
    start();
    ASSERT_TRUE(waitSkips("Page - Google Chrome", true));
    // A restarted shell shows every button again.
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ITaskbarList* list = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList,
                                           reinterpret_cast<void**>(&list))));
    list->HrInit();
    list->AddTab(page_);
    list->Release();
    CoUninitialize();
    ASSERT_TRUE(waitSkips("Page - Google Chrome", false));
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 3000,
                        nullptr);
    EXPECT_TRUE(waitSkips("Page - Google Chrome", true));
}

} // namespace
