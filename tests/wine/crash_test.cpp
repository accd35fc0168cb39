// A bar that dies of an unhandled exception gives the shell back its appbar strip and its tray icon.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "e2e_support.h"

namespace {

std::string crashProgram() { return e2e::binDir() + "\\crash\\corvane_crash.exe"; }

// What a newcomer on the bottom edge is offered: the whole edge when no strip is reserved there.
LONG bottomOfferedToANewcomer() {
    HWND probe = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    APPBARDATA abd{};
    abd.cbSize = sizeof(abd);
    abd.hWnd = probe;
    SHAppBarMessage(ABM_NEW, &abd);
    abd.uEdge = ABE_BOTTOM;
    abd.rc = {0, 738, 1024, 768};
    SHAppBarMessage(ABM_QUERYPOS, &abd);
    SHAppBarMessage(ABM_REMOVE, &abd);
    DestroyWindow(probe);
    return abd.rc.bottom;
}

bool trayIconExists(HWND bar) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = bar;
    nid.uID = 32771;
    nid.uFlags = NIF_TIP;
    lstrcpyA(nid.szTip, "probe");
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

class CrashSafety : public ::testing::Test {
protected:
    void SetUp() override {
        // Wine's debugger would otherwise hold the dying process behind its crash dialog.
        DWORD noDialog = 0;
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", "ShowCrashDialog", REG_DWORD, &noDialog,
                        sizeof(noDialog));
        e2e::deleteSettingsKey();
        ASSERT_TRUE(e2e::ensureStandInTaskbar());
        crashNow_ = CreateEventA(nullptr, TRUE, FALSE, "CorvaneCrashNow");
    }
    void TearDown() override {
        proc_.kill();
        CloseHandle(crashNow_);
        e2e::deleteSettingsKey();
    }
    // Starts the crashing build and waits until its bar is up (shown, or with its tray icon when hidden).
    HWND start(const char* options, bool inTray) {
        if (!proc_.start("\"" + crashProgram() + "\" " + options)) return nullptr;
        HWND bar = nullptr;
        e2e::waitFor([&] {
            bar = e2e::findBar();
            return bar && (inTray ? trayIconExists(bar) : IsWindowVisible(bar) != FALSE);
        });
        return bar;
    }
    void crash() {
        SetEvent(crashNow_);
        ASSERT_TRUE(proc_.waitExit(30000));
        EXPECT_NE(proc_.exitCode(), 0u);
    }

    e2e::Process proc_;
    HANDLE crashNow_ = nullptr;
};

TEST_F(CrashSafety, ADockedBarThatCrashesGivesItsStripBack) {
    HWND bar = start("", false);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bottomOfferedToANewcomer(), 744);
    crash();
    EXPECT_EQ(bottomOfferedToANewcomer(), 768);
}

} // namespace
