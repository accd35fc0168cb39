// The bar program built to die on purpose: a worker thread faults when the named event is set, so a test can
// see what the dying bar gives back to the shell. "--unguarded" takes the last-chance guard away first, to
// show what would be left behind without it; "--throw" dies of a C++ exception nothing catches instead.
#include <windows.h>

#include <cstring>
#include <stdexcept>

#include "app/app.h"
#include "app/crash_guard.h"

namespace {
DWORD WINAPI faultWhenTold(void* param) {
    HANDLE go = param;
    WaitForSingleObject(go, INFINITE);
    if (std::strstr(GetCommandLineA(), "--unguarded")) app::clearCrashGuard();
    if (std::strstr(GetCommandLineA(), "--throw")) throw std::runtime_error("uncaught");
    *static_cast<volatile int*>(nullptr) = 1;
    return 0;
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, "CorvaneCrashNow");
    if (!app::startProgram()) return 0;
    CloseHandle(CreateThread(nullptr, 0, faultWhenTold, go, 0, nullptr));
    return app::runMessageLoop();
}
