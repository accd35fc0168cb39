// The shell hook library: reports top-level windows created, destroyed, activated, redrawn and flashing
// anywhere on the desktop to one target window. Plain C calling convention, so both the 32-bit and the 64-bit
// builds export the functions under their undecorated names.
#pragma once
#include <windows.h>

namespace cvsh {

// What the hook posts to its target: wParam the window, lParam one of the codes below.
constexpr UINT kShellEventMessage = WM_USER + 3;
// The shell hook codes passed on; every other code is dropped, the rude activation (the activation code with
// the high bit set) included.
constexpr LPARAM kWindowCreated = HSHELL_WINDOWCREATED;
constexpr LPARAM kWindowDestroyed = HSHELL_WINDOWDESTROYED;
constexpr LPARAM kWindowActivated = HSHELL_WINDOWACTIVATED;
constexpr LPARAM kWindowRetitled = HSHELL_REDRAW;
// The redraw code with the high bit set: the window calls for the user's attention.
constexpr LPARAM kWindowFlashed = HSHELL_FLASH;

} // namespace cvsh

// The library's own code sees its functions as its own; everybody else imports them from cvsh.dll.
#ifndef CVSH_API
#define CVSH_API __declspec(dllimport)
#endif

extern "C" {
// Installs the system-wide shell hook with `target` as the receiver of cvsh::kShellEventMessage, posted (the
// hooked program never waits for the bar). A destroyed window's message arrives after the window is gone.
// 1 on success; 0 after a message box.
CVSH_API int SetShellHook(HWND target);
// Removes the hook: non-zero when it was removed, 0 when none was set.
CVSH_API int RemoveShellHook();
}
