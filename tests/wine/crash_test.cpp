// A bar that dies of an unhandled exception gives the shell back its appbar strip and its hooks. It deletes
// its tray icon too, but Wine's own tray forgets the icons of dead windows by itself, so that part cannot be
// seen failing here.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "kit/bar_fixture.h"
#include "kit/standin.h"
#include "tools/standin-taskbar/standin_taskbar.h"

namespace {

std::string crashProgram() {
    return kit::binDir() + "\\crash\\corvane_crash.exe";
}

class CrashSafety : public e2e::FaultingBarTest {
  protected:
    void SetUp() override {
        FaultingBarTest::SetUp();
        crashNow_ = CreateEventA(nullptr, TRUE, FALSE, "CorvaneCrashNow");
    }
    void TearDown() override {
        FaultingBarTest::TearDown();
        CloseHandle(crashNow_);
    }
    // Starts the crashing build and waits until its bar is shown.
    HWND start(const char* options) {
        if (!proc_.start("\"" + crashProgram() + "\" " + options)) return nullptr;
        HWND bar = nullptr;
        kit::waitFor([&] {
            bar = e2e::findBar();
            return bar && IsWindowVisible(bar);
        });
        return bar;
    }
    void crash() {
        SetEvent(crashNow_);
        ASSERT_TRUE(proc_.waitExit(30000));
        // The next bar started waits for its own signal.
        ResetEvent(crashNow_);
        EXPECT_NE(proc_.exitCode(), 0u);
    }

    HANDLE crashNow_ = nullptr;
};

TEST_F(CrashSafety, ADockedBarThatCrashesGivesItsStripBack) {
    // A fault, and a C++ exception that nothing catches.
    for (const char* how : {"", "--throw"}) {
        HWND bar = start(how);
        ASSERT_NE(bar, nullptr) << how;
        ASSERT_EQ(e2e::bottomOfferedToANewcomer(), 744) << how;
        crash();
        EXPECT_EQ(e2e::bottomOfferedToANewcomer(), 768) << how;
    }
}

TEST_F(CrashSafety, ACrashedBarsHooksAreGone) {
    ASSERT_NE(start(""), nullptr);
    crash();
    // The crashing build's own copy of the shell hook library holds its hook in its shared section: already
    // taken away, a removal finds nothing to remove.
    HMODULE shellHook = LoadLibraryA((kit::binDir() + "\\crash\\cvsh.dll").c_str());
    ASSERT_NE(shellHook, nullptr);
    auto removeShellHook =
        reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(shellHook, "RemoveShellHook")));
    ASSERT_NE(removeShellHook, nullptr);
    EXPECT_FALSE(removeShellHook());
    FreeLibrary(shellHook);

    // Without the taskbar hook, a browser window opened now keeps its taskbar item through the layouts.
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    kit::Process browser;
    HWND late = standin::openBrowser(browser, "--class IEFrame --title Late");
    ASSERT_NE(late, nullptr);
    SendMessageA(tray, standin::kSync, 1, 0);
    SendMessageA(tray, standin::kLayOut, 0, 0);
    EXPECT_TRUE(SendMessageA(tray, standin::kHasItem, reinterpret_cast<WPARAM>(late), 0));
    browser.kill();
}

} // namespace
