// Benchmarks of the bar against yardsticks measured in the same run, so the ratios hold on a noisy machine.
//   corvane_bench startup [runs]      process start to bar docked, against two yardsticks: the minimal window
//                                     program's window shown, and the minimal appbar program docked
//   corvane_bench memory              working set and private bytes with 0 and 200 browser windows, against
//   both corvane_bench idle [seconds]      CPU time, messages and timers of the bar with 20 windows and no
//   input corvane_bench events [repeats]    shell-event cost at 10, 100, 200 and 1000 tracked windows: the
//   bar's
//                                     handling of one event with its paint, and the work it counted; medians
//                                     of the repetitions, the lengths interleaved
// Runs under Wine beside dist/x64/corvane.exe; prints "key: value" lines.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"

namespace {

std::string dist() {
    const char* d = std::getenv("CORVANE_DIST");
    return d ? d : "dist\\x64";
}
std::string here() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\'));
}

double nowMs() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void pump() {
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

HWND visibleWindow(const char* title) {
    HWND w = FindWindowA(nullptr, title);
    return w && IsWindowVisible(w) ? w : nullptr;
}

// Starts a program and times it until its window with the title is shown.
double timeStart(const std::string& cmd, const char* title, Child* child, HWND* window) {
    double t0 = nowMs();
    if (!child->start(cmd)) return -1;
    HWND w = nullptr;
    if (!waitFor([&] { return (w = visibleWindow(title)) != nullptr; })) return -1;
    *window = w;
    return nowMs() - t0;
}

const char* kBar = "Corvane! main window";
const char* kMinimal = "Minimal bench window";
const char* kAppBar = "Minimal appbar bench window";
std::string barCmd() {
    return "\"" + dist() + "\\corvane.exe\"";
}
std::string minimalCmd() {
    return "\"" + here() + "\\minimal.exe\"";
}
std::string appBarCmd() {
    return "\"" + here() + "\\minimal_appbar.exe\"";
}

LRESULT CALLBACK browserProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcA(h, m, w, l);
}

// Browser windows owned by this process: hidden frames of the tracked class.
std::vector<HWND> makeBrowsers(int n) {
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

void destroyAll(std::vector<HWND>& v) {
    for (HWND w : v)
        DestroyWindow(w);
    v.clear();
    pump();
}

void quietSettings() {
    // Placement would show and maximise every stand-in window; the benchmarks measure the bar, not that.
    DWORD zero = 0;
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Corvane!", "Maximize browser windows", REG_DWORD, &zero, 4);
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
// worker keeps its own times from there); the benchmark's own first WM_NULL is left out.
std::string countedMessages(HMODULE counter, DWORD barStart) {
    auto counted = reinterpret_cast<BOOL (*)(LONG, UINT*, DWORD*)>(
        reinterpret_cast<void*>(GetProcAddress(counter, "CountedMessage")));
    std::string list;
    UINT message = 0;
    DWORD tick = 0;
    for (LONG i = 0; counted && counted(i, &message, &tick); ++i) {
        if (i == 0 && message == WM_NULL) continue;
        char one[64];
        std::snprintf(one, sizeof(one), "%s0x%04x at %.1f s", list.empty() ? "" : ", ", message,
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
    std::printf("idle.window_s: %.1f to %.1f after the bar's start\nidle.message_list: %s\n",
                (t0 - barStart) / 1000.0, (GetTickCount() - barStart) / 1000.0,
                countedMessages(counter, barStart).c_str());
    c.end(bar);
    destroyAll(browsers);
}

// The work counts the bar keeps (WM_BAR_WORKCOUNT), in the order of app::BarWork.
struct Work {
    double count[4] = {};
};

Work workOf(HWND bar) {
    Work w;
    for (WPARAM k = 0; k < 4; ++k)
        w.count[k] = static_cast<double>(SendMessageA(bar, app::WM_BAR_WORKCOUNT, k, 0));
    return w;
}

double buttonsPainted(HWND bar) {
    return static_cast<double>(SendMessageA(bar, app::WM_BAR_WORKCOUNT, 1, 0));
}

// Destroyed, created, activated, retitled: the list keeps its length.
const LPARAM kEventCodes[] = {2, 1, 4, 6};
const char* const kEventNames[] = {"destroyed", "created", "activated", "retitled"};
const int kCounts[] = {10, 100, 200, 1000};
constexpr int kCountsLength = 4;

// Makes the bar list the first n of the windows by reporting the others destroyed or created. The reports are
// posted, as the shell hook posts them: the bar handles them all before it paints, so a length change costs
// one repaint, not one per report. It has handled them all once it has painted again.
void listFirst(HWND bar, const std::vector<HWND>& windows, int* listed, int n) {
    if (*listed == n) return;
    double painted = buttonsPainted(bar);
    for (int i = *listed - 1; i >= n; --i)
        PostMessageA(bar, app::WM_BAR_SHELLEVENT, reinterpret_cast<WPARAM>(windows[static_cast<size_t>(i)]),
                     2);
    for (int i = *listed; i < n; ++i)
        PostMessageA(bar, app::WM_BAR_SHELLEVENT, reinterpret_cast<WPARAM>(windows[static_cast<size_t>(i)]),
                     1);
    *listed = n;
    waitFor([&] { return buttonsPainted(bar) != painted; }, 60000);
}

// One block of events at one list length, the yardstick interleaved: after every event a bare round trip is
// timed, so a slow spell of the machine falls on both. An event is timed from its sending until the bar
// answers the next message after the forced repaint (so a paint the bar began by itself is inside), less one
// round trip; its handling is the sending alone, less one round trip; the bar's paint is what it measured.
struct Block {
    std::vector<double> total[4], handling[4], barPaint[4], roundTrips;
    Work work[4];
};

struct BlockFigures {
    double perEvent = 0, roundTrip = 0, total[4] = {}, handling[4] = {}, barPaint[4] = {};
    Work work[4];
};

BlockFigures measureBlock(HWND bar, const std::vector<HWND>& listed, int rounds, int* next) {
    Block b;
    for (int i = 0; i < rounds; ++i) {
        HWND w = listed[static_cast<size_t>((*next)++) % listed.size()];
        for (int k = 0; k < 4; ++k) {
            Work before = workOf(bar);
            double t0 = nowMs();
            SendMessageA(bar, app::WM_BAR_SHELLEVENT, reinterpret_cast<WPARAM>(w), kEventCodes[k]);
            double t1 = nowMs();
            UpdateWindow(bar);
            double paintUs = static_cast<double>(SendMessageA(bar, app::WM_BAR_WORKCOUNT, 3, 0));
            double t2 = nowMs();
            SendMessageA(bar, WM_NULL, 0, 0);
            b.roundTrips.push_back(1000.0 * (nowMs() - t2));
            Work after = workOf(bar);
            for (int j = 0; j < 4; ++j)
                b.work[k].count[j] += (after.count[j] - before.count[j]) / rounds;
            b.total[k].push_back(1000.0 * (t2 - t0));
            b.handling[k].push_back(1000.0 * (t1 - t0));
            b.barPaint[k].push_back(paintUs - before.count[3]);
        }
    }
    BlockFigures f;
    f.roundTrip = median(b.roundTrips);
    for (int k = 0; k < 4; ++k) {
        f.total[k] = median(b.total[k]) - f.roundTrip;
        f.handling[k] = median(b.handling[k]) - f.roundTrip;
        f.barPaint[k] = median(b.barPaint[k]);
        f.work[k] = b.work[k];
        f.perEvent += f.total[k] / 4;
    }
    return f;
}

// The median over the repetitions, the least, the most, and each in the order measured.
void printSpread(const char* key, const std::vector<double>& v, const char* format = "%.1f") {
    std::vector<double> sorted = v;
    std::sort(sorted.begin(), sorted.end());
    const double figures[] = {median(v), sorted.front(), sorted.back()};
    const char* suffixes[] = {"", "_min", "_max"};
    for (int i = 0; i < 3; ++i) {
        std::printf("%s%s: ", key, suffixes[i]);
        std::printf(format, figures[i]);
        std::printf("\n");
    }
    std::printf("%s_each:", key);
    for (double x : v) {
        std::printf(" ");
        std::printf(format, x);
    }
    std::printf("\n");
}

void printFigures(int n, const std::vector<BlockFigures>& reps) {
    auto each = [&](auto get) {
        std::vector<double> v;
        for (const BlockFigures& f : reps)
            v.push_back(get(f));
        return v;
    };
    char key[96];
    auto at = [&](const char* what) {
        std::snprintf(key, sizeof(key), "events.%d.%s", n, what);
        return key;
    };
    printSpread(at("per_event_us"), each([](const BlockFigures& f) { return f.perEvent; }));
    printSpread(at("round_trip_us"), each([](const BlockFigures& f) { return f.roundTrip; }));
    printSpread(at("ratio"), each([](const BlockFigures& f) { return f.perEvent / f.roundTrip; }), "%.2f");
    for (int k = 0; k < 4; ++k) {
        double us = median(each([k](const BlockFigures& f) { return f.total[k]; }));
        double handling = median(each([k](const BlockFigures& f) { return f.handling[k]; }));
        double paint = median(each([k](const BlockFigures& f) { return f.barPaint[k]; }));
        const double* per = reps.back().work[k].count;
        std::printf(
            "events.%d.%s_us: %.1f\nevents.%d.%s_handling_us: %.1f\nevents.%d.%s_bar_paint_us: %.1f\n", n,
            kEventNames[k], us, n, kEventNames[k], handling, n, kEventNames[k], paint);
        std::printf("events.%d.%s_paint_share: %.2f\n", n, kEventNames[k], paint / us);
        std::printf("events.%d.%s_work: %.1f tool tip messages, %.1f buttons painted, %.1f entries visited\n",
                    n, kEventNames[k], per[0], per[1], per[2]);
    }
}

// Activation and retitling at 1000 against 10 windows, per repetition: as measured, and each first divided by
// the round trip of its own block.
void printFlatness(const std::vector<BlockFigures>& at10, const std::vector<BlockFigures>& at1000) {
    for (int k : {2, 3}) {
        std::vector<double> raw, scaled, bar;
        for (size_t r = 0; r < at10.size(); ++r) {
            const BlockFigures &a = at10[r], &b = at1000[r];
            raw.push_back(b.total[k] / a.total[k]);
            scaled.push_back((b.total[k] / b.roundTrip) / (a.total[k] / a.roundTrip));
            bar.push_back((b.handling[k] + b.barPaint[k]) / (a.handling[k] + a.barPaint[k]));
        }
        const char* what[] = {"ratio", "ratio_round_trips", "ratio_bar"};
        const std::vector<double>* values[] = {&raw, &scaled, &bar};
        for (int i = 0; i < 3; ++i) {
            char key[64];
            std::snprintf(key, sizeof(key), "events.flat.%s.%s", kEventNames[k], what[i]);
            printSpread(key, *values[i], "%.2f");
        }
    }
}

void events(int repetitions) {
    // Every window exists throughout and the bar is told of a different number of them, so the desktop Wine
    // manages is the same at every list length. The lengths alternate in direction from one repetition to the
    // next, so a drift of the machine's speed falls on both ends alike.
    constexpr int kRounds = 12;
    auto browsers = makeBrowsers(kCounts[kCountsLength - 1]);
    Child c;
    HWND bar = nullptr;
    timeStart(barCmd(), kBar, &c, &bar);
    int listed = static_cast<int>(browsers.size());
    UpdateWindow(bar);
    std::vector<BlockFigures> figures[kCountsLength];
    int next = 0;
    double t0 = nowMs();
    for (int r = 0; r < repetitions; ++r) {
        for (int j = 0; j < kCountsLength; ++j) {
            int i = r % 2 ? j : kCountsLength - 1 - j;
            listFirst(bar, browsers, &listed, kCounts[i]);
            std::vector<HWND> shown(browsers.begin(), browsers.begin() + kCounts[i]);
            figures[i].push_back(measureBlock(bar, shown, kRounds, &next));
        }
    }
    std::printf("events.repetitions: %d\nevents.rounds_per_block: %d\nevents.windows_existing: %zu\n",
                repetitions, kRounds, browsers.size());
    std::printf("events.seconds: %.0f\n", (nowMs() - t0) / 1000.0);
    for (int i = 0; i < kCountsLength; ++i)
        printFigures(kCounts[i], figures[i]);
    printFlatness(figures[0], figures[kCountsLength - 1]);
    c.end(bar);
    destroyAll(browsers);
}

} // namespace

int main(int argc, char** argv) {
    std::string what = argc > 1 ? argv[1] : "";
    int arg = argc > 2 ? std::atoi(argv[2]) : 0;
    quietSettings();
    if (what == "startup")
        startup(arg > 0 ? arg : 10);
    else if (what == "memory")
        memory();
    else if (what == "idle")
        idle(arg > 0 ? arg : 60);
    else if (what == "events")
        events(arg > 0 ? arg : 15);
    else {
        std::fprintf(stderr, "usage: corvane_bench startup|memory|idle|events [n]\n");
        return 2;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Corvane!");
    return 0;
}
