// The work the bar does for one shell event, counted by the bar itself (tool tip messages, buttons painted,
// list entries visited): activation and retitling must cost the same with a thousand windows listed as with
// ten, creation and destruction no more than one unit per button; and whatever a partial repaint skipped, the
// strip must look exactly as a full repaint draws it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "kit/bar_fixture.h"
#include "kit/input.h"

namespace {

using namespace e2e;

struct Work {
    LRESULT toolTips = 0, painted = 0, visited = 0;
    Work operator-(const Work& o) const {
        return {toolTips - o.toolTips, painted - o.painted, visited - o.visited};
    }
    bool operator==(const Work& o) const {
        return toolTips == o.toolTips && painted == o.painted && visited == o.visited;
    }
};

std::ostream& operator<<(std::ostream& out, const Work& w) {
    return out << w.toolTips << " tool tip messages, " << w.painted << " buttons painted, " << w.visited
               << " entries visited";
}

Work workOf(HWND bar) {
    auto count = [bar](app::BarWork which) {
        return SendMessageA(bar, app::WM_BAR_WORKCOUNT, static_cast<WPARAM>(which), 0);
    };
    return {count(app::BarWork::ToolTipMessages), count(app::BarWork::ButtonsPainted),
            count(app::BarWork::EntriesVisited)};
}

struct Counted {
    Work activated, retitled, destroyed, created;
};

class StripWork : public BarTest {
  protected:
    // What the bar last painted, as the screen shows it. Wine copies a window's pixels to the screen when its
    // thread next waits for messages, not when the paint ends: a shot counts once the screen has held still
    // across a message the bar has answered since, so that the bar has had its turn to run past the paint.
    BarShot shown() {
        BarShot shot(bar_);
        kit::waitFor(
            [&] {
                SendMessageA(bar_, WM_NULL, 0, 0);
                BarShot again(bar_);
                const bool still = again == shot;
                shot = again;
                return still;
            },
            1000);
        return shot;
    }

    // An event whose work is not counted: the repaint it leaves is done before the next event is counted.
    void uncounted(HWND window, LPARAM code) {
        shellEvent(bar_, window, code);
        UpdateWindow(bar_);
    }

    // One shell event with the repaint it causes, counted; then the strip on the screen must equal what a
    // full repaint draws.
    Work counted(HWND window, LPARAM code, const char* what) {
        Work before = workOf(bar_);
        EXPECT_EQ(shellEvent(bar_, window, code), 1) << what;
        UpdateWindow(bar_);
        Work spent = workOf(bar_) - before;
        const BarShot painted = shown();
        InvalidateRect(bar_, nullptr, TRUE);
        UpdateWindow(bar_);
        EXPECT_TRUE(shown() == painted)
            << "after the " << what << " event the strip differs from a full repaint";
        return spent;
    }

    Counted run(int n) {
        // The pointer off the bar: the tool tips' catching up with moved buttons, which a pointer on the bar
        // starts, is not any one event's work.
        kit::moveTo(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
        // The windows' answers to the bar's asking for their icons reach it when this thread next waits,
        // inside the counted stretch or after it: one lookup each, at any length of the list, but not the
        // same in every run. Counted without them.
        e2e::writeSetting("Show window icons", 0);
        // Hidden windows opened before the bar starts: it lists them all, and no hook reports them.
        std::vector<HWND> w = openBefore({"First"});
        for (int i = 1; i < n; ++i) {
            std::string title = "Page " + std::to_string(i);
            w.push_back(CreateWindowExA(0, "IEFrame", title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
        }
        start();
        EXPECT_TRUE(waitTools(n));
        Counted c;
        uncounted(w[1], kActivated);
        c.activated = counted(w[n / 2], kActivated, "activated");
        // With no button active, retitling touches one button wherever it sits.
        uncounted(neutral(), kActivated);
        SetWindowTextA(w[n / 3], "Retitled");
        c.retitled = counted(w[n / 3], kRetitled, "retitled");
        // The window stays, so no hook reports anything but these two events.
        c.destroyed = counted(w[n - 2], kDestroyed, "destroyed");
        c.created = counted(w[n - 2], kCreated, "created");
        EXPECT_TRUE(e2e::closeBar(proc_, bar_));
        browsers_.close(w[0]);
        for (size_t i = 1; i < w.size(); ++i)
            DestroyWindow(w[i]);
        return c;
    }
};

TEST_F(StripWork, ActivationAndRetitlingCostTheSameAtTenAndAThousandWindowsAndTheStripStaysExact) {
    Counted ten = run(10);
    Counted thousand = run(1000);
    EXPECT_EQ(thousand.activated, ten.activated);
    EXPECT_EQ(thousand.retitled, ten.retitled);
    EXPECT_EQ(ten.activated.toolTips, 0);
    EXPECT_EQ(ten.activated.painted, 2) << "the button that lost the mark and the one that got it";
    EXPECT_EQ(ten.retitled.painted, 1);
    // A change of the list lays out every button once: no more than one tool move, one paint and a few
    // visits per button.
    for (int n : {10, 1000}) {
        const Counted& c = n == 10 ? ten : thousand;
        for (const Work& w : {c.destroyed, c.created}) {
            EXPECT_LE(w.toolTips, n + 1) << n << ": " << w;
            EXPECT_LE(w.painted, n) << n << ": " << w;
            EXPECT_LE(w.visited, 3 * n) << n << ": " << w;
        }
    }
}

} // namespace
