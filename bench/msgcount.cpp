// Counts the messages one thread handles, sent and posted, into a section every process shares. Loaded into
// the bar's thread by its hooks; read by the benchmark.
#include <windows.h>

extern "C" {
__attribute__((section(".shared"), shared)) volatile LONG g_sent = 0;
__attribute__((section(".shared"), shared)) volatile LONG g_posted = 0;
__attribute__((section(".shared"), shared)) volatile LONG g_timers = 0;
// The first messages counted, with the tick they came at: a count says that the bar woke, these say why.
__attribute__((section(".shared"), shared)) volatile LONG g_noted = 0;
__attribute__((section(".shared"), shared)) volatile UINT g_first[16] = {};
__attribute__((section(".shared"), shared)) volatile DWORD g_firstTick[16] = {};
__attribute__((section(".shared"), shared)) volatile ULONGLONG g_firstParam[16] = {};
__attribute__((section(".shared"), shared)) volatile LONGLONG g_firstLParam[16] = {};
}

namespace {
HHOOK g_callHook = nullptr;
HHOOK g_getHook = nullptr;
HMODULE g_self = nullptr;

void note(UINT message, WPARAM wParam, LPARAM lParam, volatile LONG* counter) {
    InterlockedIncrement(counter);
    const LONG n = InterlockedIncrement(&g_noted) - 1;
    if (n < 16) {
        g_first[n] = message;
        g_firstTick[n] = GetTickCount();
        g_firstParam[n] = wParam;
        g_firstLParam[n] = lParam;
    }
}

LRESULT CALLBACK onSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION)
        note(reinterpret_cast<CWPSTRUCT*>(lParam)->message, reinterpret_cast<CWPSTRUCT*>(lParam)->wParam,
             reinterpret_cast<CWPSTRUCT*>(lParam)->lParam, &g_sent);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK onPosted(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        note(reinterpret_cast<MSG*>(lParam)->message, reinterpret_cast<MSG*>(lParam)->wParam,
             reinterpret_cast<MSG*>(lParam)->lParam, &g_posted);
        if (reinterpret_cast<MSG*>(lParam)->message == WM_TIMER) InterlockedIncrement(&g_timers);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

extern "C" __declspec(dllexport) BOOL StartCounting(DWORD threadId) {
    g_sent = g_posted = g_timers = g_noted = 0;
    g_callHook = SetWindowsHookExA(WH_CALLWNDPROC, onSent, g_self, threadId);
    g_getHook = SetWindowsHookExA(WH_GETMESSAGE, onPosted, g_self, threadId);
    return g_callHook && g_getHook;
}

// The n-th message counted (0-based), its tick and its parameters; false past the last one kept.
extern "C" __declspec(dllexport) BOOL
    CountedMessage(LONG n, UINT* message, DWORD* tick, ULONGLONG* wParam, LONGLONG* lParam) {
    if (n < 0 || n >= 16 || n >= g_noted) return FALSE;
    *message = g_first[n];
    *tick = g_firstTick[n];
    *wParam = g_firstParam[n];
    *lParam = g_firstLParam[n];
    return TRUE;
}

extern "C" __declspec(dllexport) void StopCounting(LONG* sent, LONG* posted, LONG* timers) {
    if (g_callHook) UnhookWindowsHookEx(g_callHook);
    if (g_getHook) UnhookWindowsHookEx(g_getHook);
    g_callHook = g_getHook = nullptr;
    *sent = g_sent;
    *posted = g_posted;
    *timers = g_timers;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_self = instance;
    return TRUE;
}
