// What the benchmarks share: the clock, medians, waiting, starting the programs, the stand-in browser
// windows.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

inline std::string dist() {
    const char* d = std::getenv("CORVANE_DIST");
    return d ? d : "dist\\x64";
}
inline std::string here() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\'));
}

inline double nowMs() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

inline void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

template <class F> bool waitFor(F condition, DWORD timeoutMs = 20000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        pump();
        Sleep(0);
    }
    return true;
}

struct Child {
    PROCESS_INFORMATION pi{};
    bool start(const std::string& cmd) {
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        std::string c = cmd;
        return CreateProcessA(nullptr, c.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
    }
    void end(HWND w) {
        if (w) PostMessageA(w, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
};

inline HWND visibleWindow(const char* title) {
    HWND w = FindWindowA(nullptr, title);
    return w && IsWindowVisible(w) ? w : nullptr;
}

// Starts a program and times it until its window with the title is shown.
inline double timeStart(const std::string& cmd, const char* title, Child* child, HWND* window) {
    double t0 = nowMs();
    if (!child->start(cmd)) return -1;
    HWND w = nullptr;
    if (!waitFor([&] { return (w = visibleWindow(title)) != nullptr; })) return -1;
    *window = w;
    return nowMs() - t0;
}

inline const char* kBar = "Corvane! main window";
inline const char* kMinimal = "Minimal bench window";
inline const char* kAppBar = "Minimal appbar bench window";
inline std::string barCmd() {
    return "\"" + dist() + "\\corvane.exe\"";
}
inline std::string minimalCmd() {
    return "\"" + here() + "\\minimal.exe\"";
}
inline std::string appBarCmd() {
    return "\"" + here() + "\\minimal_appbar.exe\"";
}

inline LRESULT CALLBACK browserProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcA(h, m, w, l);
}

// Browser windows owned by this process: hidden frames of the tracked class.
inline std::vector<HWND> makeBrowsers(int n) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = browserProc;
        wc.lpszClassName = "IEFrame";
        RegisterClassA(&wc);
        registered = true;
    }
    std::vector<HWND> v;
    for (int i = 0; i < n; ++i) {
        char title[64];
        std::snprintf(title, sizeof(title), "Page %d - Microsoft Internet Explorer", i);
        v.push_back(CreateWindowExA(0, "IEFrame", title, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                    nullptr, nullptr, nullptr));
    }
    return v;
}

inline void destroyAll(std::vector<HWND>& v) {
    for (HWND w : v)
        DestroyWindow(w);
    v.clear();
    pump();
}

// The shell-event benchmark (event_cost.cpp).
void events(int repetitions);
// Two bars on two monitors (event_cost.cpp): their start-up, and the event cost at 200 windows over both.
void monitors(int repetitions);

} // namespace bench
