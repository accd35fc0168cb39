// The shell hook library: reports top-level windows created, destroyed, activated and redrawn anywhere on
// the desktop to one target window. Plain C calling convention, so both the 32-bit and the 64-bit builds
// export the functions under their undecorated names.
#pragma once
#include <windows.h>

extern "C" {
// Installs the system-wide shell hook with `target` as the receiver of WM_USER + 3, posted (the hooked
// program never waits for the bar) with wParam the window and lParam the shell hook code (1, 2, 4 or 6).
// A destroyed window's message arrives after the window is gone. 1 on success; 0 after a message box.
__declspec(dllimport) int SetShellHook(HWND target);
// Removes the hook: non-zero when it was removed, 0 when none was set.
__declspec(dllimport) int RemoveShellHook();
}
