#include "app/crash_guard.h"

#include <cstdlib>

#include "app/shell_registrations.h"

namespace app {

namespace {
// Written on the user-interface thread only; read by whichever thread dies.
ShellRegistrations* volatile g_guarded = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

LONG WINAPI giveBackToTheShell(EXCEPTION_POINTERS* info) {
    // Runs at most once, even if the clean-up itself faults.
    auto* held = static_cast<ShellRegistrations*>(
        InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&g_guarded), nullptr));
    if (held) held->release();
    return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}
} // namespace

void installCrashGuard(ShellRegistrations& held) {
    g_guarded = &held;
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(giveBackToTheShell);
    if (previous != giveBackToTheShell) g_previousFilter = previous;
}

void clearCrashGuard() {
    g_guarded = nullptr;
}

} // namespace app

// An exception nothing caught ends the program through std::terminate. The runtime's own handler would print
// the exception's type to a console the bar does not have, and links a demangler for it (a twelfth of the
// 32-bit release). Raised as a structured exception instead, it reaches the guard above like any other crash,
// which gives back what the bar holds; the runtime's handler would only have aborted.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    RaiseException(app::kUncaughtException, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    std::abort();
}
} // namespace __gnu_cxx
