#include "app/crash_guard.h"

#include <shellapi.h>

#include "app/bar_window.h"
#include "app/taskbar_list.h"
#include "hooks/shell/cvsh.h"
#include "hooks/taskbar/cvth.h"

namespace app {

namespace {
// Written on the user-interface thread only; read by whichever thread dies.
HWND volatile g_guardedBar = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

LONG WINAPI giveBackToTheShell(EXCEPTION_POINTERS* info) {
    // Runs at most once, even if the clean-up itself faults.
    HWND bar = static_cast<HWND>(InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&g_guardedBar), nullptr));
    if (bar) {
        APPBARDATA abd{};
        abd.cbSize = sizeof(abd);
        abd.hWnd = bar;
        SHAppBarMessage(ABM_REMOVE, &abd);
        NOTIFYICONDATAA nid{};
        nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
        nid.hWnd = bar;
        nid.uID = TRAY_ICON_ID;
        Shell_NotifyIconA(NIM_DELETE, &nid);
        RemoveShellHook();
        RemoveTaskbarHook();
        giveAllButtonsBackOnBarThread();
    }
    return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}
} // namespace

void installCrashGuard(HWND bar) {
    g_guardedBar = bar;
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(giveBackToTheShell);
    if (previous != giveBackToTheShell) g_previousFilter = previous;
}

void clearCrashGuard() { g_guardedBar = nullptr; }

} // namespace app
