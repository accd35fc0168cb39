// A last chance before the process dies of an unhandled exception: what the bar holds in the shell (its
// appbar strip, its tray icon, both hooks) is given back, so the desktop is not left with a reserved strip,
// a dead icon or hooks that point at a window that no longer exists.
#pragma once
#include <windows.h>

namespace app {

struct ShellRegistrations;

// The guard releases what the bar holds through the same parts its teardown uses.
void installCrashGuard(ShellRegistrations& held);
void clearCrashGuard();

// The code a C++ exception that nothing caught ends the program with (a customer code: bit 29 set).
constexpr DWORD kUncaughtException = 0xE0435601;

} // namespace app
