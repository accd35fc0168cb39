// The bar under a long day's wear: thousands of shell events over many browser windows, windows that vanish
// without a word, and a taskbar that dies and comes back.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "core/button_layout.h"
#include "kit/bar_fixture.h"
#include "kit/other_process.h"
#include "kit/standin.h"
#include "kit/tray.h"

namespace {

using namespace e2e;
using kit::processOf;

constexpr const char* kClass = "IEFrame";

// Browser windows of this process, reporting their own destruction the way the shell hook does (from
// inside DestroyWindow, while the window still exists) unless the hook already does.
bool g_hookReports = false;
int g_wrongDestroyed = 0;
HWND g_bar = nullptr;

LRESULT CALLBACK churnProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY && g_bar && !g_hookReports && shellEvent(g_bar, window, kDestroyed) != 1)
        ++g_wrongDestroyed;
    return DefWindowProcA(window, msg, wParam, lParam);
}

void registerChurnClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = churnProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
}

// Whether the bar still answers, within a time a user would not notice.
bool responsive(HWND bar) {
    DWORD_PTR result = 0;
    return IsWindow(bar) && SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

class BarFixture : public BarProgramTest {
  protected:
    void SetUp() override {
        // No server answers here: the bar's message fetch fails quietly instead of opening its dialog in the
        // middle of a count of the bar's objects.
        SetEnvironmentVariableA("CORVANE_MESSAGE_SERVER", "127.0.0.1:9");
        BarProgramTest::SetUp();
        registerChurnClass();
    }
    void TearDown() override {
        for (HWND w : own_)
            if (IsWindow(w)) DestroyWindow(w);
        BarProgramTest::TearDown();
        g_bar = nullptr;
    }
    void start() {
        ASSERT_TRUE(startBar(proc_, &bar_));
        g_bar = bar_;
        tips_ = barToolTips(bar_);
        ASSERT_NE(tips_, nullptr);
    }
    // A browser window of this process; the bar hears of it either from the hook or from here. The first
    // one tells which of the two it is.
    HWND open(const std::string& title) {
        int before = hookKnown_ ? 0 : count();
        HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, title.c_str(), WS_POPUP, 200, 200, 300, 200,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!w) return nullptr;
        own_.push_back(w);
        if (!hookKnown_) {
            hookKnown_ = true;
            // The hook posts its report: it has its time to arrive before this test reports instead.
            g_hookReports = kit::waitFor([&] { return count() != before; }, 2000);
            if (!g_hookReports) shellEvent(bar_, w, kCreated);
        } else if (!g_hookReports) {
            send(w, kCreated);
        }
        return w;
    }
    // Events from many programs queue up at the bar while it is busy; only the destroyed event has to wait
    // for the answer, because the window must still exist when the bar reads its class.
    void send(HWND window, LPARAM code) {
        if (async_) {
            SendNotifyMessageA(bar_, cvsh::kShellEventMessage, reinterpret_cast<WPARAM>(window), code);
        } else {
            shellEvent(bar_, window, code);
        }
    }
    // One tool per listed window.
    int count() const { return static_cast<int>(SendMessageA(tips_, TTM_GETTOOLCOUNT, 0, 0)); }
    // The hook's reports are posted and may still be on their way when a count is due.
    bool countReaches(size_t n) {
        return kit::waitFor([&] { return count() == static_cast<int>(n); });
    }
    bool listed(HWND window) {
        std::vector<kit::Tool> tools = kit::enumTools(tips_);
        return std::any_of(tools.begin(), tools.end(),
                           [&](const kit::Tool& t) { return t.id == reinterpret_cast<UINT_PTR>(window); });
    }
    // A count can come right while a closing and an opening are both still on their way to the bar. The
    // reports of this thread's windows arrive in order: once a window opened after all of them has been
    // listed and its closing taken, the bar has taken every report before it.
    void catchUp() {
        HWND last = open("Last - Microsoft Internet Explorer");
        ASSERT_NE(last, nullptr);
        ASSERT_TRUE(kit::waitFor([&] { return listed(last); }));
        DestroyWindow(last);
        ASSERT_TRUE(kit::waitFor([&] { return !listed(last); }));
    }
    // Lets the bar paint what it was told to, so that painting is part of what is tested.
    void settle() {
        RedrawWindow(bar_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ASSERT_TRUE(responsive(bar_));
    }

    HWND tips_ = nullptr;
    std::vector<HWND> own_;
    bool hookKnown_ = false;
    bool async_ = false;
};

// Churn

class Churn : public BarFixture {
  protected:
    static constexpr int kSlots = 50;
    static constexpr int kEvents = 10000;

    struct Slot {
        HWND window = nullptr;
        std::string title;
    };

    // One step of the churn on a random slot: an empty slot opens a window, a live one is retitled,
    // activated or closed. Returns the number of shell events the bar received.
    int step(std::mt19937& rng, std::array<Slot, kSlots>& slots, std::vector<HWND>& order, int serial) {
        Slot& slot = slots[rng() % kSlots];
        if (!slot.window) {
            slot.title = "Page " + std::to_string(serial);
            slot.window = open(slot.title + " - Microsoft Internet Explorer");
            order.push_back(slot.window);
            return 1;
        }
        unsigned roll = rng() % 100;
        if (roll < 40) {
            slot.title = "Retitled " + std::to_string(serial);
            SetWindowTextA(slot.window, ("  " + slot.title + " - Microsoft Internet Explorer ").c_str());
            send(slot.window, kRetitled);
        } else if (roll < 60) {
            send(slot.window, kActivated);
        } else if (roll < 65) {
            // The user switched to some other program.
            send(other_, kActivated);
        } else {
            order.erase(std::find(order.begin(), order.end(), slot.window));
            DestroyWindow(slot.window);
            slot.window = nullptr;
        }
        return 1;
    }
    void closeAll(std::array<Slot, kSlots>& slots, std::vector<HWND>& order) {
        for (Slot& s : slots) {
            if (!s.window) continue;
            order.erase(std::find(order.begin(), order.end(), s.window));
            DestroyWindow(s.window);
            s.window = nullptr;
        }
    }
    HWND other_ = nullptr;
};

TEST_F(Churn, TenThousandEventsLeaveOneToolPerLiveWindowAndNoObjectsBehind) {
    start();
    async_ = true;
    g_wrongDestroyed = 0;
    other_ =
        CreateWindowExA(0, "STATIC", "Notes", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    own_.push_back(other_);
    std::mt19937 rng(20261208);
    std::array<Slot, kSlots> slots;
    std::vector<HWND> order;

    // A first round brings the bar's lazily made objects (tool tip, paint caches) into being before counting.
    for (int i = 0; i < 300; ++i)
        step(rng, slots, order, i);
    closeAll(slots, order);
    settle();
    ASSERT_TRUE(countReaches(0));
    kit::GuiObjects before = kit::guiObjects(processOf(bar_));
    ASSERT_GT(before.gdi, 0);
    ASSERT_GT(before.user, 0);

    DWORD started = GetTickCount();
    int events = 0;
    for (int serial = 1000; events < kEvents; ++serial) {
        events += step(rng, slots, order, serial);
        if (events % 1000 == 0) {
            settle();
            ASSERT_NO_FATAL_FAILURE(catchUp());
            ASSERT_EQ(count(), static_cast<int>(order.size())) << "after " << events << " events";
        }
    }
    settle();
    DWORD elapsed = GetTickCount() - started;
    std::printf("%d shell events in %lu ms; %zu windows open at the end\n", events,
                static_cast<unsigned long>(elapsed), order.size());
    EXPECT_EQ(g_wrongDestroyed, 0) << "destroyed events the bar did not take as a tracked window's";

    // Exactly the live windows, each once, in the order they were opened (the bar's button order).
    ASSERT_NO_FATAL_FAILURE(catchUp());
    std::vector<kit::Tool> tools = kit::enumTools(tips_);
    ASSERT_EQ(tools.size(), order.size());
    for (size_t i = 0; i < tools.size(); ++i) {
        EXPECT_EQ(tools[i].owner, bar_);
        EXPECT_EQ(tools[i].id, reinterpret_cast<UINT_PTR>(order[i])) << "tool " << i;
    }
    // Each tip shows its window's latest title.
    for (const Slot& s : slots) {
        if (!s.window) continue;
        EXPECT_EQ(kit::toolText(tips_, bar_, reinterpret_cast<UINT_PTR>(s.window)), s.title);
    }

    // Every window the bar lists shows this program's file icon, one handle shared by all of them: the count
    // does not grow with the windows...
    const kit::GuiObjects open = kit::guiObjects(processOf(bar_));
    EXPECT_LT(open.gdi, before.gdi + static_cast<long>(order.size())) << order.size() << " windows";
    // ...and closing everything that is left brings the bar back to where it was before the churn.
    closeAll(slots, order);
    settle();
    EXPECT_TRUE(countReaches(0));
    kit::GuiObjects after = kit::guiObjects(processOf(bar_));
    std::printf("GDI objects %ld -> %ld (%ld with the last windows open), USER objects %ld -> %ld\n",
                before.gdi, after.gdi, open.gdi, before.user, after.user);
    // A leak of one object per event, or per window opened, would show by the thousand; a few cached
    // paint objects (a device context, a brush made for a colour) may come and go.
    EXPECT_LE(after.gdi, before.gdi + 4);
    EXPECT_EQ(after.user, before.user);
}

// Windows that vanish without a destroyed event

class StaleWindows : public BarFixture {
  protected:
    // A button's rectangle on the screen, as the bar last painted it (its tool follows the button).
    RECT buttonOnScreen(HWND window) {
        for (const kit::Tool& t : kit::enumTools(tips_)) {
            if (t.id != reinterpret_cast<UINT_PTR>(window)) continue;
            RECT r = t.rect;
            MapWindowPoints(bar_, nullptr, reinterpret_cast<POINT*>(&r), 2);
            return r;
        }
        return {};
    }
    static POINT centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    static POINT glyph(const RECT& r) {
        core::Point at = core::glyphOrigin({r.left, r.top, r.right, r.bottom});
        return {at.x + core::buttons::kGlyphSize / 2, at.y + core::buttons::kGlyphSize / 2};
    }
};

TEST_F(StaleWindows, ButtonsOfAKilledBrowserSurviveEveryActionAndTheBarKeepsTracking) {
    // Every button shows its close glyph.
    writeSetting("only on active IE button", 0u);
    kit::Process browsers;
    ASSERT_NE(standin::openBrowser(browsers, "--title \"Gone - Microsoft Internet Explorer\" --count 3"),
              nullptr);
    std::vector<HWND> stale;
    ASSERT_TRUE(kit::waitFor(
        [&] { return (stale = kit::topLevelWindows(kClass, nullptr, browsers.id())).size() == 3; }));
    start();
    HWND live = open("Live");
    ShowWindow(live, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(countReaches(4));

    // Killed: no hook runs in a dead process, so nobody tells the bar.
    TerminateProcess(browsers.handle(), 1);
    ASSERT_TRUE(kit::waitFor([&] { return std::none_of(stale.begin(), stale.end(), IsWindow); }));
    settle();
    EXPECT_EQ(count(), 4) << "a window gone unannounced stays listed";

    // Words about a window that no longer exists come too late: each is ignored, nothing else changes.
    for (LPARAM code : {kRetitled, kActivated, kCreated})
        EXPECT_EQ(shellEvent(bar_, stale[0], code), 0);
    settle();
    EXPECT_EQ(count(), 4);

    // The pointer over, clicks on, the close glyph of, and the menu of each stale button.
    for (HWND w : stale) {
        RECT r = buttonOnScreen(w);
        ASSERT_GT(r.right, r.left);
        kit::moveTo(centre(r));
        // The tip asks for its text as it shows.
        kit::waitFor([&] { return IsWindowVisible(tips_) != FALSE; }, 700);
        kit::click(centre(r));
        kit::click(glyph(r));
        kit::click(centre(r), true);
        HWND menu = tray::waitPopupMenu();
        ASSERT_NE(menu, nullptr);
        RECT m{};
        GetWindowRect(menu, &m);
        kit::click({m.left + 20, m.top + 3 * (m.bottom - m.top) / 4}); // "Close"
        kit::waitFor([&] { return !IsWindowVisible(menu); }, 3000);
        ASSERT_TRUE(responsive(bar_));
    }
    settle();
    EXPECT_EQ(count(), 4);
    // Except a destruction: its report always comes after the window is gone, and is matched by handle.
    EXPECT_EQ(shellEvent(bar_, stale[0], kDestroyed), 1);
    EXPECT_EQ(count(), 3);

    // And the bar goes on tracking as before.
    HWND fresh = open("Fresh - Microsoft Internet Explorer");
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(countReaches(4));
    EXPECT_EQ(kit::toolText(tips_, bar_, reinterpret_cast<UINT_PTR>(fresh)), "Fresh");
    EXPECT_EQ(shellEvent(bar_, fresh, kActivated), 1);
    settle();
    DestroyWindow(fresh);
    EXPECT_TRUE(countReaches(3));
    DestroyWindow(live);
    EXPECT_TRUE(countReaches(2)) << "only the stale entries are left";
    EXPECT_TRUE(responsive(bar_));
}

} // namespace
