// What a program pays in the shell hook for each of its window events while the bar tracks 200 windows,
// against a bare round trip to the bar's process measured in the same run; beside it, the bar's own handling
// of an event, which the program no longer waits for.
//   hook_cost [rounds]
// Runs under Wine beside dist/x64/corvane.exe (CORVANE_DIST); prints "key: value" lines.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/settings.h"
#include "hooks/shell/cvsh.h"
#include "hooks/shell/shell_hook.h"

namespace {

constexpr int kTracked = 200;
constexpr UINT kShellEvent = cvsh::kShellEventMessage;
// Destroyed, created, activated, retitled: the list keeps its size.
constexpr LPARAM kCodes[] = {cvsh::kWindowDestroyed, cvsh::kWindowCreated, cvsh::kWindowActivated,
                             cvsh::kWindowRetitled};

double nowUs() {
    static const double perUs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perUs;
}

HWND startBar(PROCESS_INFORMATION& pi) {
    const char* dist = std::getenv("CORVANE_DIST");
    std::string cmd = "\"" + std::string(dist ? dist : "dist\\x64") + "\\corvane.exe\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(20)) {
        HWND bar = FindWindowA(nullptr, "Corvane! main window");
        if (bar && IsWindowVisible(bar)) return bar;
    }
    return nullptr;
}

double roundTripUs(HWND bar) {
    double t = nowUs();
    DWORD_PTR r = 0;
    SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &r);
    return nowUs() - t;
}

// The hook procedure as the system calls it in the program whose window changed, each round beside a round
// trip taken under the same conditions: the load of a shared machine changes from second to second.
void hookAndTripUs(HWND bar, const std::vector<HWND>& browsers, int rounds, double* hook, double* trip) {
    std::vector<double> h, t;
    for (int i = 0; i < rounds; ++i) {
        WPARAM w = reinterpret_cast<WPARAM>(browsers[static_cast<size_t>(i) % browsers.size()]);
        double start = nowUs();
        for (LPARAM code : kCodes)
            cvsh::hookProcedure(static_cast<int>(code), w, 0);
        h.push_back((nowUs() - start) / 4);
        // The bar handles the four events meanwhile: neither figure is taken against its work.
        Sleep(25);
        t.push_back(roundTripUs(bar));
    }
    *hook = bench::median(h);
    *trip = bench::median(t);
}

// The same events sent and waited for: the bar's handling plus one round trip each.
double sentUs(HWND bar, const std::vector<HWND>& browsers, int rounds) {
    std::vector<double> v;
    for (int i = 0; i < rounds; ++i) {
        WPARAM w = reinterpret_cast<WPARAM>(browsers[static_cast<size_t>(i) % browsers.size()]);
        double t = nowUs();
        for (LPARAM code : kCodes)
            SendMessageA(bar, kShellEvent, w, code);
        v.push_back((nowUs() - t) / 4);
    }
    return bench::median(v);
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 300;
    if (rounds <= 0) rounds = 300;
    DWORD zero = 0;
    // Placement would show and maximise every window; this measures the event, not that.
    RegSetKeyValueA(HKEY_CURRENT_USER, core::kSettingsKey, core::valueName(&core::Settings::maximizeBrowsers),
                    REG_DWORD, &zero, 4);
    std::vector<HWND> browsers = bench::makeBrowsers(kTracked);
    PROCESS_INFORMATION pi{};
    HWND bar = startBar(pi);
    if (!bar) {
        std::fprintf(stderr, "the bar did not start\n");
        return 1;
    }
    cvsh::shared.target = bar;
    cvsh::shared.hook = nullptr;
    for (int i = 0; i < 200; ++i)
        roundTripUs(bar); // warms both sides up
    double hook = 0, trip = 0;
    hookAndTripUs(bar, browsers, rounds, &hook, &trip);
    double sent = sentUs(bar, browsers, rounds);
    std::printf("hook_cost.tracked_windows: %d\n", kTracked);
    std::printf("hook_cost.per_event_us: %.1f\n", hook);
    std::printf("hook_cost.round_trip_us: %.1f\n", trip);
    std::printf("hook_cost.ratio: %.2f (goal < 0.6)\n", hook / trip);
    std::printf("hook_cost.bar_handling_us: %.1f\n", sent - trip);
    PostMessageA(bar, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    for (HWND w : browsers)
        DestroyWindow(w);
    RegDeleteTreeA(HKEY_CURRENT_USER, core::kSettingsKey);
    return 0;
}
