// Waiting on conditions: the one wait of the Win32 tests. This thread's own messages keep flowing meanwhile,
// since the code under test may be sending to windows of this thread.
#pragma once
#include <windows.h>

#include <functional>

namespace kit {

inline void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Polls the condition until it holds or the time is up; the answer is the condition's last value.
inline bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    for (;;) {
        pump();
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Lets queued input and paint messages of this thread run out (for checks that something did NOT happen).
inline void settle(DWORD ms = 100) {
    kit::waitFor([] { return false; }, ms);
}

} // namespace kit
