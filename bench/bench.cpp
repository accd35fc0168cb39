// Benchmarks of the bar against yardsticks measured in the same run, so the ratios hold on a noisy machine.
//   corvane_bench startup [runs]   process start to bar docked, against two yardsticks: the minimal window
//                                  program's window shown, and the minimal appbar program docked
//   corvane_bench memory           working set and private bytes with 0 and 200 browser windows, against both
//   corvane_bench idle [seconds]   CPU time, messages and timers of the bar with 20 windows and no input
//   corvane_bench events [repeats] shell-event cost at 10, 100, 200 and 1000 tracked windows (event_cost.cpp)
//   corvane_bench monitors [runs]  on two monitors: start-up with two bars against one, and the event cost at
//                                  200 windows over both (event_cost.cpp; through tests/wine/two_monitors.sh)
// Runs under Wine beside dist/x64/corvane.exe; prints "key: value" lines.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/settings.h"
#include "hooks/shell/cvsh.h"

namespace {

using namespace bench;

void quietSettings() {
    // Placement would show and maximise every stand-in window; the benchmarks measure the bar, not that.
    DWORD zero = 0;
    RegSetKeyValueA(HKEY_CURRENT_USER, core::kSettingsKey, core::valueName(&core::Settings::maximizeBrowsers),
                    REG_DWORD, &zero, 4);
}

void startup(int runs) {
    struct Program {
        std::string cmd;
        const char* title;
        std::vector<double> times;
    } programs[] = {{minimalCmd(), kMinimal, {}}, {appBarCmd(), kAppBar, {}}, {barCmd(), kBar, {}}};
    // Alternating runs: a slow spell of the machine falls on all three alike.
    for (int i = 0; i < runs; ++i) {
        for (Program& p : programs) {
            Child c;
            HWND w = nullptr;
            double t = timeStart(p.cmd, p.title, &c, &w);
            c.end(w);
            if (t >= 0) p.times.push_back(t);
        }
    }
    double m = median(programs[0].times), a = median(programs[1].times), b = median(programs[2].times);
    std::printf("startup.runs: %d\nstartup.bar_ms: %.1f\nstartup.minimal_ms: %.1f\nstartup.appbar_ms: %.1f\n",
                runs, b, m, a);
    std::printf("startup.ratio: %.2f\nstartup.ratio_appbar: %.2f\n", m > 0 ? b / m : 0, a > 0 ? b / a : 0);
    // Every start in the order it ran, so that a median can be told from a few slow starts.
    const char* keys[] = {"minimal", "appbar", "bar"};
    for (int k = 0; k < 3; ++k) {
        std::printf("startup.%s_ms_each:", keys[k]);
        for (double t : programs[k].times)
            std::printf(" %.1f", t);
        std::printf("\n");
    }
}

PROCESS_MEMORY_COUNTERS_EX memoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
    return pmc;
}

// Wine leaves PrivateUsage at 0; its committed private bytes show as PagefileUsage.
size_t privateBytes(const PROCESS_MEMORY_COUNTERS_EX& m) {
    return m.PrivateUsage ? m.PrivateUsage : m.PagefileUsage;
}

void printMemory(const char* name, const PROCESS_MEMORY_COUNTERS_EX& m) {
    std::printf("memory.%s.working_set_kb: %zu\nmemory.%s.private_kb: %zu\n", name, m.WorkingSetSize / 1024,
                name, privateBytes(m) / 1024);
}

PROCESS_MEMORY_COUNTERS_EX settledMemory(const std::string& cmd, const char* title) {
    Child c;
    HWND w = nullptr;
    timeStart(cmd, title, &c, &w);
    Sleep(500);
    pump();
    auto m = memoryOf(c.pi.hProcess);
    c.end(w);
    return m;
}

void memory() {
    auto minimal = settledMemory(minimalCmd(), kMinimal);
    auto appBar = settledMemory(appBarCmd(), kAppBar);
    printMemory("minimal", minimal);
    printMemory("appbar", appBar);
    auto ratio = [](size_t a, size_t b) { return static_cast<double>(a) / static_cast<double>(b); };
    for (int n : {0, 200}) {
        auto browsers = makeBrowsers(n);
        auto m = settledMemory(barCmd(), kBar);
        char name[32];
        std::snprintf(name, sizeof(name), "bar_%d_windows", n);
        printMemory(name, m);
        std::printf("memory.%s.ratio_working_set: %.2f\nmemory.%s.ratio_private: %.2f\n", name,
                    ratio(m.WorkingSetSize, minimal.WorkingSetSize), name,
                    ratio(privateBytes(m), privateBytes(minimal)));
        std::printf("memory.%s.ratio_appbar_working_set: %.2f\nmemory.%s.ratio_appbar_private: %.2f\n", name,
                    ratio(m.WorkingSetSize, appBar.WorkingSetSize), name,
                    ratio(privateBytes(m), privateBytes(appBar)));
        destroyAll(browsers);
    }
}

double cpuMs(HANDLE process) {
    FILETIME create, exit, kernel, user;
    GetProcessTimes(process, &create, &exit, &kernel, &user);
    auto ms = [](FILETIME f) {
        return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

// The messages the counter kept, with the second since the bar's start each came at (its server-message
// worker keeps its own times from there) and, for a shell event, the class of the window it names; the
// benchmark's own first WM_NULL is left out. Counts those that a window of the bar's own worker caused: its
// shell event and the relay of that event to the tool tip control.
std::string countedMessages(HMODULE counter, DWORD barStart, int* fromWorker) {
    auto counted = reinterpret_cast<BOOL (*)(LONG, UINT*, DWORD*, ULONGLONG*, LONGLONG*)>(
        reinterpret_cast<void*>(GetProcAddress(counter, "CountedMessage")));
    std::string list;
    UINT message = 0;
    DWORD tick = 0;
    ULONGLONG wParam = 0;
    LONGLONG lParam = 0;
    bool afterWorker = false;
    for (LONG i = 0; counted && counted(i, &message, &tick, &wParam, &lParam); ++i) {
        if (i == 0 && message == WM_NULL) continue;
        char one[160];
        char name[64] = "";
        const bool shellEvent = message == cvsh::kShellEventMessage;
        if (shellEvent) GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
        const bool worker = shellEvent && std::string(name) == "CorvaneReplyTarget";
        if (worker || (afterWorker && message == TTM_RELAYEVENT)) ++*fromWorker;
        afterWorker = worker;
        char about[96] = "";
        if (shellEvent)
            std::snprintf(about, sizeof(about), " (shell code %lld) about a window of class %s", lParam,
                          name);
        std::snprintf(one, sizeof(one), "%s0x%04x%s at %.1f s", list.empty() ? "" : ", ", message, about,
                      (tick - barStart) / 1000.0);
        list += one;
    }
    return list.empty() ? "none" : list;
}

void idle(int seconds) {
    auto browsers = makeBrowsers(20);
    Child c;
    HWND bar = nullptr;
    const DWORD barStart = GetTickCount();
    timeStart(barCmd(), kBar, &c, &bar);
    HMODULE counter = LoadLibraryA((here() + "\\msgcount.dll").c_str());
    auto start =
        reinterpret_cast<BOOL (*)(DWORD)>(reinterpret_cast<void*>(GetProcAddress(counter, "StartCounting")));
    auto stop = reinterpret_cast<void (*)(LONG*, LONG*, LONG*)>(
        reinterpret_cast<void*>(GetProcAddress(counter, "StopCounting")));
    // The yardstick idles beside the bar over the same seconds, so both see the same noise.
    Child minimal;
    HWND minimalWindow = nullptr;
    timeStart(minimalCmd(), kMinimal, &minimal, &minimalWindow);
    Sleep(1000);
    pump();
    double cpu0 = cpuMs(c.pi.hProcess);
    double minimalCpu0 = cpuMs(minimal.pi.hProcess);
    bool counting = start && start(GetWindowThreadProcessId(bar, nullptr));
    SendMessageA(bar, WM_NULL, 0, 0); // loads the counter into the bar's thread
    DWORD t0 = GetTickCount();
    while (GetTickCount() - t0 < static_cast<DWORD>(seconds) * 1000) {
        pump();
        Sleep(50);
    }
    LONG sent = 0, posted = 0, timers = 0;
    if (counting) stop(&sent, &posted, &timers);
    double cpu = cpuMs(c.pi.hProcess) - cpu0;
    double minimalCpu = cpuMs(minimal.pi.hProcess) - minimalCpu0;
    minimal.end(minimalWindow);
    std::printf("idle.seconds: %d\nidle.tracked_windows: 20\nidle.cpu_ms: %.1f\nidle.cpu_percent: %.3f\n",
                seconds, cpu, 100.0 * cpu / (seconds * 1000.0));
    std::printf("idle.minimal_cpu_ms: %.1f\n", minimalCpu);
    std::printf("idle.sent_messages: %ld\nidle.posted_messages: %ld\nidle.timer_messages: %ld\n", sent - 1,
                posted, timers);
    int fromWorker = 0;
    const double windowEnd = (GetTickCount() - barStart) / 1000.0;
    std::string list = countedMessages(counter, barStart, &fromWorker);
    std::printf("idle.window_s: %.1f to %.1f after the bar's start\nidle.message_list: %s\n",
                (t0 - barStart) / 1000.0, windowEnd, list.c_str());
    std::printf("idle.worker_messages: %d\n", fromWorker);
    c.end(bar);
    destroyAll(browsers);
}

} // namespace

int main(int argc, char** argv) {
    std::string what = argc > 1 ? argv[1] : "";
    int arg = argc > 2 ? std::atoi(argv[2]) : 0;
    quietSettings();
    if (what == "startup")
        startup(arg > 0 ? arg : 20);
    else if (what == "memory")
        memory();
    else if (what == "idle")
        idle(arg > 0 ? arg : 60);
    else if (what == "events")
        bench::events(arg > 0 ? arg : 11);
    else if (what == "monitors")
        bench::monitors(arg > 0 ? arg : 7);
    else {
        std::fprintf(stderr, "usage: corvane_bench startup|memory|idle|events|monitors [n]\n");
        return 2;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, core::kSettingsKey);
    return 0;
}
