// The shell-event benchmark: the bar's handling of one event with its paint at 10, 100, 200 and 1000 tracked
// windows, against a bare round trip timed between the events, and the work the bar counted.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app.h"
#include "bench/bench_support.h"

namespace bench {

namespace {

// The work counts the bar keeps (WM_BAR_WORKCOUNT), in the order of app::BarWork.
struct Work {
    double count[4] = {};
};

double countOf(HWND bar, app::BarWork what) {
    return bar ? static_cast<double>(SendMessageA(bar, app::WM_BAR_WORKCOUNT, static_cast<WPARAM>(what), 0))
               : 0;
}

// With a second bar, its strip's tool tip messages and buttons painted are added (the entries visited are
// the one list's; the paint time is the main bar's, the other's is read apart).
Work workOf(HWND bar, HWND otherBar = nullptr) {
    Work w;
    for (WPARAM k = 0; k < 4; ++k)
        w.count[k] = countOf(bar, static_cast<app::BarWork>(k));
    w.count[0] += countOf(otherBar, app::BarWork::ToolTipMessages);
    w.count[1] += countOf(otherBar, app::BarWork::ButtonsPainted);
    return w;
}

double buttonsPainted(HWND bar) {
    return static_cast<double>(SendMessageA(bar, app::WM_BAR_WORKCOUNT, 1, 0));
}

// Destroyed, created, activated, retitled: the list keeps its length.
const LPARAM kEventCodes[] = {cvsh::kWindowDestroyed, cvsh::kWindowCreated, cvsh::kWindowActivated,
                              cvsh::kWindowRetitled};
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

// A block's figure: other programs on a shared machine only ever add time, so the lower quartile is what the
// work costs when the machine is not taken from it (and a quarter of the samples must show that).
double lowerQuartile(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[(v.size() - 1) / 4];
}

// With a second bar (one on another monitor), its paint is forced too and counted in the event; its
// strip's work and paint time are read after the yardstick's round trip, outside the timed span.
BlockFigures measureBlock(HWND bar, const std::vector<HWND>& listed, int rounds, int* next,
                          HWND otherBar = nullptr) {
    Block b;
    for (int i = 0; i < rounds; ++i) {
        HWND w = listed[static_cast<size_t>((*next)++) % listed.size()];
        for (int k = 0; k < 4; ++k) {
            Work before = workOf(bar, otherBar);
            const double otherPaintBefore = countOf(otherBar, app::BarWork::PaintMicroseconds);
            double t0 = nowMs();
            SendMessageA(bar, app::WM_BAR_SHELLEVENT, reinterpret_cast<WPARAM>(w), kEventCodes[k]);
            double t1 = nowMs();
            UpdateWindow(bar);
            if (otherBar) UpdateWindow(otherBar);
            double paintUs = countOf(bar, app::BarWork::PaintMicroseconds);
            double t2 = nowMs();
            SendMessageA(bar, WM_NULL, 0, 0);
            b.roundTrips.push_back(1000.0 * (nowMs() - t2));
            Work after = workOf(bar, otherBar);
            paintUs += countOf(otherBar, app::BarWork::PaintMicroseconds) - otherPaintBefore;
            for (int j = 0; j < 4; ++j)
                b.work[k].count[j] += (after.count[j] - before.count[j]) / rounds;
            b.total[k].push_back(1000.0 * (t2 - t0));
            b.handling[k].push_back(1000.0 * (t1 - t0));
            b.barPaint[k].push_back(paintUs - before.count[3]);
        }
    }
    BlockFigures f;
    f.roundTrip = lowerQuartile(b.roundTrips);
    for (int k = 0; k < 4; ++k) {
        f.total[k] = lowerQuartile(b.total[k]) - f.roundTrip;
        f.handling[k] = lowerQuartile(b.handling[k]) - f.roundTrip;
        f.barPaint[k] = lowerQuartile(b.barPaint[k]);
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

void printFigures(int n, const std::vector<BlockFigures>& reps, const char* prefix = "events") {
    auto each = [&](auto get) {
        std::vector<double> v;
        for (const BlockFigures& f : reps)
            v.push_back(get(f));
        return v;
    };
    char key[96];
    auto at = [&](const char* what) {
        std::snprintf(key, sizeof(key), "%s.%d.%s", prefix, n, what);
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
        std::printf("%s.%d.%s_us: %.1f\n%s.%d.%s_handling_us: %.1f\n%s.%d.%s_bar_paint_us: %.1f\n", prefix, n,
                    kEventNames[k], us, prefix, n, kEventNames[k], handling, prefix, n, kEventNames[k],
                    paint);
        std::printf("%s.%d.%s_paint_share: %.2f\n", prefix, n, kEventNames[k], paint / us);
        std::printf("%s.%d.%s_work: %.1f tool tip messages, %.1f buttons painted, %.1f entries visited\n",
                    prefix, n, kEventNames[k], per[0], per[1], per[2]);
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

// Lets the bar handle every report still queued: it paints only once its queue is empty.
void drain(HWND bar) {
    double painted = buttonsPainted(bar);
    InvalidateRect(bar, nullptr, FALSE);
    waitFor([&] { return buttonsPainted(bar) != painted; }, 60000);
}

// The same ten listed windows on a desktop of ten windows and on one of a thousand (the others of a class the
// bar does not track), in turn: what the system's own cost per window adds to an event.
void desktopEffect(HWND bar, std::vector<HWND> browsers, int repetitions, int* next) {
    const size_t listed = static_cast<size_t>(kCounts[0]);
    for (size_t i = listed; i < browsers.size(); ++i)
        DestroyWindow(browsers[i]);
    browsers.resize(listed);
    std::vector<HWND> others;
    std::vector<double> ratio[2], scaled[2], roundTrips;
    for (int r = 0; r < repetitions; ++r) {
        drain(bar);
        BlockFigures small = measureBlock(bar, browsers, 16, next);
        for (size_t i = listed; i < 1000; ++i)
            others.push_back(CreateWindowExA(0, "Static", "other", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                             nullptr, nullptr, nullptr, nullptr));
        drain(bar);
        BlockFigures large = measureBlock(bar, browsers, 16, next);
        destroyAll(others);
        for (int k : {2, 3}) {
            ratio[k - 2].push_back(large.total[k] / small.total[k]);
            scaled[k - 2].push_back((large.total[k] / large.roundTrip) / (small.total[k] / small.roundTrip));
        }
        roundTrips.push_back(large.roundTrip / small.roundTrip);
    }
    for (int k : {2, 3}) {
        char key[64];
        std::snprintf(key, sizeof(key), "events.desktop.%s.ratio", kEventNames[k]);
        printSpread(key, ratio[k - 2], "%.2f");
        std::snprintf(key, sizeof(key), "events.desktop.%s.ratio_round_trips", kEventNames[k]);
        printSpread(key, scaled[k - 2], "%.2f");
    }
    printSpread("events.desktop.round_trip.ratio", roundTrips, "%.2f");
}

} // namespace

void events(int repetitions) {
    // Every window exists throughout and the bar is told of a different number of them, so the desktop Wine
    // manages is the same at every list length. The lengths alternate in direction from one repetition to the
    // next, so a drift of the machine's speed falls on both ends alike.
    constexpr int kRounds = 16;
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
    // The desktop comparison keeps the shortest list.
    listFirst(bar, browsers, &listed, kCounts[0]);
    t0 = nowMs();
    desktopEffect(bar, browsers, 3, &next);
    std::printf("events.desktop.seconds: %.0f\n", (nowMs() - t0) / 1000.0);
    browsers.resize(static_cast<size_t>(kCounts[0]));
    c.end(bar);
    destroyAll(browsers);
}

namespace {
constexpr const char* kOtherBar = "Corvane! bar";

void barsOn(DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, core::kSettingsKey, core::valueName(&core::Settings::barsOn),
                    REG_DWORD, &value, 4);
}

// Start-up with a bar on each of two monitors against a bar on the primary one alone, in alternate runs; the
// two are started only when both have shown.
void twoBarStartup(int runs) {
    std::vector<double> times[2];
    for (int i = 0; i < 2 * runs; ++i) {
        const int bars = i % 2;
        barsOn(bars ? core::kBarsOnEvery : core::kBarsOnPrimary);
        Child c;
        HWND bar = nullptr;
        const double t0 = nowMs();
        double t = timeStart(barCmd(), kBar, &c, &bar);
        if (t >= 0 && bars && !waitFor([] { return visibleWindow(kOtherBar) != nullptr; })) t = -1;
        if (t >= 0) times[bars].push_back(bars ? nowMs() - t0 : t);
        c.end(bar);
    }
    const double one = median(times[0]), two = median(times[1]);
    std::printf(
        "monitors.startup.runs: %d\nmonitors.startup.one_bar_ms: %.1f\nmonitors.startup.two_bars_ms: %.1f\n"
        "monitors.startup.ratio: %.2f\n",
        runs, one, two, one > 0 ? two / one : 0);
}
} // namespace

void monitors(int repetitions) {
    if (GetSystemMetrics(SM_CMONITORS) < 2) {
        std::printf("monitors: one monitor only (run through tests/wine/two_monitors.sh)\n");
        return;
    }
    twoBarStartup(repetitions);
    // 200 windows, every other one on the second monitor: each event is handled once and painted on both
    // bars.
    constexpr int kRounds = 16;
    constexpr int kWindows = 200;
    auto browsers = makeBrowsers(kWindows);
    for (size_t i = 1; i < browsers.size(); i += 2)
        SetWindowPos(browsers[i], nullptr, 1100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    barsOn(core::kBarsOnEvery);
    Child c;
    HWND bar = nullptr, other = nullptr;
    timeStart(barCmd(), kBar, &c, &bar);
    waitFor([&] { return (other = visibleWindow(kOtherBar)) != nullptr; });
    drain(bar);
    std::vector<BlockFigures> figures;
    int next = 0;
    for (int r = 0; r < repetitions; ++r)
        figures.push_back(measureBlock(bar, browsers, kRounds, &next, other));
    printFigures(kWindows, figures, "monitors.events");
    c.end(bar);
    destroyAll(browsers);
}

} // namespace bench
