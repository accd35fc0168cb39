// A last chance before the process dies of an unhandled exception: what the bar holds in the shell (its
// appbar strip, its tray icon, both hooks) is given back, so the desktop is not left with a reserved strip,
// a dead icon or hooks that point at a window that no longer exists.
#pragma once
#include <windows.h>

namespace app {

void installCrashGuard(HWND bar);
void clearCrashGuard();

} // namespace app
