// The shell hook library: reports top-level windows created, destroyed, activated and redrawn anywhere on
// the desktop to one target window. Plain C calling convention, so both the 32-bit and the 64-bit builds
// export the functions under their undecorated names.
#pragma once
#include <windows.h>

#ifndef WM_BAR_SHELLEVENT
// Sent (not posted) to the target: wParam the window, lParam the shell hook code (1, 2, 4 or 6).
#define WM_BAR_SHELLEVENT (WM_USER + 3)
#endif

extern "C" {
// Installs the system-wide shell hook with `target` as the receiver. 1 on success; 0 after a message box.
__declspec(dllimport) int SetShellHook(HWND target);
// Removes the hook: non-zero when it was removed, 0 when none was set.
__declspec(dllimport) int RemoveShellHook();
}
