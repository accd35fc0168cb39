// The tracker as a model with views: two strips over one list, each in a window of its own width, lay out,
// paint and place their tool tips each for itself; one shell event looks at its window's process once at
// most; and a window the shell hides (another virtual desktop) loses its button at the shell's event. The
// windows' facts come from a table the test keeps (the seam the bar reads Windows through): Wine cloaks no
// window, but another process's cloak events reach the bar's hook.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "app/button_strip.h"
#include "app/hook_installs.h"
#include "core/button_layout.h"
#include "kit/bar_fixture.h"
#include "kit/standin.h"
#include "kit/wait.h"
#include "tools/standin-browser/standin_browser.h"

namespace {

struct Facts {
    std::string cls, image, text;
    bool visible = true, style = true, cloaked = false;
    HMONITOR monitor = nullptr;
};

class TableReader final : public app::WindowReader {
  public:
    std::map<HWND, Facts> windows;
    mutable int imageReads = 0;

    std::string className(HWND w) const override { return at(w).cls; }
    std::string processImage(HWND w) const override { return ++imageReads, at(w).image; }
    bool visible(HWND w) const override { return at(w).visible; }
    bool taskbarStyle(HWND w) const override { return at(w).style; }
    std::string text(HWND w) const override { return at(w).text; }
    bool cloaked(HWND w) const override { return cloakReads.push_back(w), at(w).cloaked; }
    mutable std::vector<HWND> cloakReads;
    HMONITOR monitor(HWND w) const override { return at(w).monitor; }

  private:
    Facts at(HWND w) const {
        auto it = windows.find(w);
        return it == windows.end() ? Facts{} : it->second;
    }
};

// The model the cloak events hook's events go to, as the bar window hands them on.
app::BrowserTracker* g_cloakModel = nullptr;

LRESULT CALLBACK stripWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* strip = reinterpret_cast<app::ButtonStrip*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (strip && msg == WM_PAINT) return strip->paint(), 0;
    if (g_cloakModel && msg == app::WM_BAR_CLOAKEVENT)
        return g_cloakModel->recheckCloaked(reinterpret_cast<HWND>(wParam)), 0;
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND stripWindow(int y, int width) {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = stripWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CorvaneTestStrip";
        return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "CorvaneTestStrip", "", WS_POPUP | WS_VISIBLE, 0,
                           y, width, 24, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Windows of this process that stand for the browsers; the table says what they are.
HWND standIn() {
    return CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

class ModelViews : public ::testing::Test {
  protected:
    void SetUp() override {
        core::Settings& s = app::settings();
        s.maximizeBrowsers = s.alignBrowsers = false;
        s.barBackgroundColor = kBackground;
        s.activeButtonColor = kActive;
        s.currentDesktopOnly = true;
        app::rebuildButtonFont();
    }
    void TearDown() override {
        g_cloakModel = nullptr;
        for (HWND w : made)
            DestroyWindow(w);
    }
    HWND make(HWND w) {
        made.push_back(w);
        return w;
    }
    static constexpr COLORREF kBackground = RGB(0, 128, 0);
    static constexpr COLORREF kActive = RGB(255, 0, 0);
    TableReader reader;
    std::vector<HWND> made;
};

RECT toolRect(HWND toolTips, HWND owner, HWND window) {
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = owner;
    ti.uId = reinterpret_cast<UINT_PTR>(window);
    SendMessageW(toolTips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
    return ti.rect;
}

TEST_F(ModelViews, TwoStripsOverOneListEachLayOutPaintAndPlaceTheirToolsForTheirOwnWidth) {
    app::BrowserTracker model(reader);
    HWND browsers[3];
    for (HWND& w : browsers) {
        w = make(standIn());
        reader.windows[w] = {"IEFrame", "", "Page", true, true, false};
    }
    struct View {
        HWND window;
        app::ButtonStrip strip;
    };
    View views[] = {{make(stripWindow(100, 700)), app::ButtonStrip(model)},
                    {make(stripWindow(200, 320)), app::ButtonStrip(model)}};
    for (View& v : views) {
        v.strip.attach(v.window);
        SetWindowLongPtrA(v.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&v.strip));
        model.subscribe(v.strip);
        v.strip.createToolTips();
    }
    for (HWND w : browsers)
        EXPECT_EQ(model.HandleShellEvent(w, HSHELL_WINDOWCREATED).answer, 1);
    model.HandleShellEvent(browsers[1], HSHELL_WINDOWACTIVATED);
    ASSERT_EQ(model.active(), browsers[1]);

    for (int removed = 0; removed < 2; ++removed) {
        const int n = model.list().count();
        for (View& v : views) {
            UpdateWindow(v.window);
            RECT client{};
            GetClientRect(v.window, &client);
            const std::vector<core::Rect> expected =
                core::layoutButtons({0, 0, client.right, client.bottom}, n);
            // The pointer on the strip: its tool tips catch up with the buttons that moved.
            MSG pointer{v.window, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1), GetTickCount(), {0, 0}};
            v.strip.relayToToolTips(pointer);
            ASSERT_TRUE(kit::waitFor([&] {
                e2e::BarShot shot(v.window);
                const RECT active = v.strip.buttonRect(model.list().find(browsers[1]));
                return shot.at(active.left + 2, active.top + 3) == kActive;
            })) << "width "
                << client.right;
            e2e::BarShot shot(v.window);
            for (int i = 0; i < n; ++i) {
                const RECT r = v.strip.buttonRect(i);
                const core::Rect& e = expected[static_cast<size_t>(i)];
                EXPECT_EQ((core::Rect{r.left, r.top, r.right, r.bottom}), e) << "width " << client.right;
                const HWND window = model.list().entries[static_cast<size_t>(i)].window;
                EXPECT_EQ(shot.at(r.left + 2, r.top + 3), window == browsers[1] ? kActive : kBackground);
                const RECT tool = toolRect(v.strip.toolTipWindow(), v.window, window);
                EXPECT_TRUE(EqualRect(&r, &tool))
                    << "the tool of button " << i << " is not on it, width " << client.right;
            }
        }
        // The views' places differ, and neither wrote them into the model.
        EXPECT_NE(views[0].strip.buttonRect(1).left, views[1].strip.buttonRect(1).left);
        model.HandleShellEvent(browsers[0], HSHELL_WINDOWDESTROYED);
        model.setActive(browsers[1]);
    }
}

TEST_F(ModelViews, EachStripShowsItsMonitorsWindowsAndOneMovedAcrossChangesStripsWithoutRepaintingTheOthers) {
    app::BrowserTracker model(reader);
    // Two monitors the strips stand for; only their handles are compared.
    const HMONITOR first = reinterpret_cast<HMONITOR>(1), second = reinterpret_cast<HMONITOR>(2);
    struct View {
        HWND window;
        app::ButtonStrip strip;
    };
    View views[] = {{make(stripWindow(100, 700)), app::ButtonStrip(model)},
                    {make(stripWindow(200, 700)), app::ButtonStrip(model)}};
    for (int i = 0; i < 2; ++i) {
        View& v = views[i];
        v.strip.attach(v.window);
        SetWindowLongPtrA(v.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&v.strip));
        model.subscribe(v.strip);
        v.strip.setMonitorFilter({true, i == 0 ? first : second, i == 0, {first, second}});
    }
    HWND w[3];
    const HMONITOR on[3] = {first, second, nullptr};
    for (int i = 0; i < 3; ++i) {
        w[i] = make(standIn());
        reader.windows[w[i]] = {"IEFrame", "", "Page", true, true, false, on[i]};
        model.HandleShellEvent(w[i], HSHELL_WINDOWCREATED);
    }
    const auto shown = [&](View& v, int entry) {
        UpdateWindow(v.window);
        const RECT r = v.strip.buttonRect(entry);
        return r.right > r.left;
    };
    // A window whose monitor is not known shows on the main strip.
    EXPECT_TRUE(shown(views[0], 0) && !shown(views[0], 1) && shown(views[0], 2));
    EXPECT_TRUE(!shown(views[1], 0) && shown(views[1], 1) && !shown(views[1], 2));
    EXPECT_EQ(views[1].strip.buttonRect(1).left, core::layoutButtons({0, 0, 700, 24}, 1)[0].left);

    // Moved to the second monitor: the event of its move brings its button over.
    reader.windows[w[0]].monitor = second;
    model.recheckMonitor(w[0]);
    EXPECT_TRUE(!shown(views[0], 0) && shown(views[1], 0) && shown(views[1], 1));
    // A window opening on the first monitor leaves the second strip unpainted.
    ValidateRect(views[1].window, nullptr);
    HWND late = make(standIn());
    reader.windows[late] = {"IEFrame", "", "Late", true, true, false, first};
    model.HandleShellEvent(late, HSHELL_WINDOWCREATED);
    EXPECT_FALSE(GetUpdateRect(views[1].window, nullptr, FALSE));
    // Nor does its activation, before the second strip has laid out again or after.
    model.setActive(late);
    EXPECT_FALSE(GetUpdateRect(views[1].window, nullptr, FALSE));
    InvalidateRect(views[1].window, nullptr, FALSE);
    UpdateWindow(views[1].window);
    model.setActive(nullptr);
    EXPECT_FALSE(GetUpdateRect(views[1].window, nullptr, FALSE));
    EXPECT_TRUE(shown(views[0], 3));
    model.HandleShellEvent(late, HSHELL_WINDOWDESTROYED);
    EXPECT_FALSE(GetUpdateRect(views[1].window, nullptr, FALSE));
    EXPECT_TRUE(shown(views[1], 0) && shown(views[1], 1))
        << "the buttons after a hidden removal kept their places";
}

TEST_F(ModelViews, OneShellEventLooksAtTheWindowsProcessOnceAtMost) {
    app::BrowserTracker model(reader);
    model.attach(make(stripWindow(300, 100)));
    model.setUsesTabControl(true);
    HWND page = make(standIn());
    HWND frame = make(standIn());
    reader.windows[frame] = {"IEFrame", "", "Frame", true, true, false};
    Facts& facts =
        reader.windows[page] = {"Chrome_WidgetWin_1", "C:\\Chrome\\chrome.exe", "", true, true, false};
    struct Step {
        const char* what;
        HWND window;
        LPARAM code;
        void (*before)(Facts&);
        int listed;
    };
    const Step steps[] = {
        {"created untitled", page, HSHELL_WINDOWCREATED, [](Facts&) {}, 0},
        {"titled but cloaked", page, HSHELL_REDRAW,
         [](Facts& f) { f.text = "News - Google Chrome", f.cloaked = true; }, 0},
        {"shown on this desktop and activated", page, HSHELL_WINDOWACTIVATED,
         [](Facts& f) { f.cloaked = false; }, 1},
        {"reported again", page, HSHELL_WINDOWCREATED, [](Facts&) {}, 1},
        {"retitled", page, HSHELL_REDRAW, [](Facts& f) { f.text = "Sport - Google Chrome"; }, 1},
        {"a frame created", frame, HSHELL_WINDOWCREATED, [](Facts&) {}, 2},
        {"a frame activated", frame, HSHELL_WINDOWACTIVATED, [](Facts&) {}, 2},
        {"destroyed", page, HSHELL_WINDOWDESTROYED, [](Facts&) {}, 1},
    };
    for (const Step& step : steps) {
        step.before(facts);
        reader.imageReads = 0;
        model.HandleShellEvent(step.window, step.code);
        // The frame's program is looked at once as it is listed: its file's icon may stand in for its own.
        const bool mayRead =
            step.code != HSHELL_WINDOWDESTROYED && (step.window == page || step.code == HSHELL_WINDOWCREATED);
        EXPECT_LE(reader.imageReads, mayRead ? 1 : 0) << step.what;
        EXPECT_EQ(model.list().count(), step.listed) << step.what;
    }
    EXPECT_EQ(model.list().entries[0].title, "Frame");
}

// Icons of one colour, as a window's class, the window itself or its answer may hold them.
HICON solidIcon(COLORREF colour) {
    std::vector<DWORD> colours(16 * 16, 0xFF000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 |
                                            GetBValue(colour));
    const std::vector<BYTE> shown(2 * 16, 0);
    return CreateIcon(nullptr, 16, 16, 1, 32, shown.data(), reinterpret_cast<const BYTE*>(colours.data()));
}

// In one process the class's icon and the window's own are read as a system does it: the class's stands in
// at once, and the icon a window sets and then reports with a redraw replaces it.
TEST_F(ModelViews, AButtonShowsItsClasssIconAndThenTheOneItsWindowSets) {
    const HICON red = solidIcon(RGB(255, 0, 0)), blue = solidIcon(RGB(0, 0, 255));
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIconSm = red;
    wc.lpszClassName = "CorvaneTestRedClass";
    ASSERT_TRUE(RegisterClassExA(&wc));
    HWND window = make(
        CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    reader.windows[window] = {"IEFrame", "", "Page", true, true, false};
    app::BrowserTracker model(reader);
    model.setUsesTabControl(true);
    app::ButtonStrip strip(model);
    HWND view = make(stripWindow(100, 700));
    strip.attach(view);
    SetWindowLongPtrA(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&strip));
    model.subscribe(strip);
    auto iconShows = [&](COLORREF colour) {
        return kit::waitFor([&] {
            UpdateWindow(view);
            const RECT r = strip.buttonRect(0);
            const core::Rect icon = core::iconRect({r.left, r.top, r.right, r.bottom});
            return e2e::BarShot(view).at(icon.left + 8, icon.top + 8) == colour;
        });
    };
    model.HandleShellEvent(window, HSHELL_WINDOWCREATED);
    EXPECT_TRUE(iconShows(RGB(255, 0, 0)));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(blue));
    model.HandleShellEvent(window, HSHELL_REDRAW);
    EXPECT_TRUE(iconShows(RGB(0, 0, 255)));
    DestroyWindow(window);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
    DestroyIcon(red);
    DestroyIcon(blue);
}

// A window of another thread answers late, in the order it was asked. The answer to an asking that was
// overtaken (the window was asked again, or left the list) must change nothing: were it taken, its next
// step would be asked, and that answer would land after the later asking's.
std::atomic<int> g_iconQuestions{0};
HICON g_blue = nullptr, g_green = nullptr;

LRESULT CALLBACK lateProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_GETICON) return DefWindowProcA(window, msg, wParam, lParam);
    // The first question for the small icon finds none yet; the small one proper would be green.
    if (wParam == ICON_SMALL2) return reinterpret_cast<LRESULT>(g_iconQuestions++ == 0 ? nullptr : g_blue);
    return g_iconQuestions++, reinterpret_cast<LRESULT>(wParam == ICON_SMALL ? g_green : nullptr);
}

TEST_F(ModelViews, AnAnswerToAnOvertakenAskingChangesNothing) {
    g_blue = solidIcon(RGB(0, 0, 255));
    g_green = solidIcon(RGB(0, 255, 0));
    std::atomic<HWND> late{nullptr};
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread answering([&] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = lateProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CorvaneTestLateAnswers";
        RegisterClassA(&wc);
        late = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
        WaitForSingleObject(go, INFINITE);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
        DestroyWindow(late);
    });
    ASSERT_TRUE(kit::waitFor([&] { return late.load() != nullptr; }));
    HWND window = late;
    reader.windows[window] = {"IEFrame", "", "Late", true, true, false};
    app::BrowserTracker model(reader);
    model.setUsesTabControl(true);
    model.HandleShellEvent(window, HSHELL_WINDOWCREATED);
    model.HandleShellEvent(window, HSHELL_REDRAW);
    SetEvent(go);
    auto source = [&] { return model.list().entries[0].icon.source; };
    EXPECT_TRUE(kit::waitFor([&] { return source() == g_blue; }));
    // Whatever a taken answer would have asked next has been answered, and its answer heard.
    SendMessageA(window, WM_NULL, 0, 0);
    kit::pump();
    EXPECT_EQ(source(), g_blue);
    EXPECT_EQ(g_iconQuestions, 2);
    // Asked, then gone from the list before the answer: the answer is dropped.
    model.HandleShellEvent(window, HSHELL_REDRAW);
    model.HandleShellEvent(window, HSHELL_WINDOWDESTROYED);
    SendMessageA(window, WM_NULL, 0, 0);
    kit::pump();
    EXPECT_EQ(model.list().count(), 0);
    PostMessageA(window, WM_QUIT, 0, 0);
    answering.join();
    CloseHandle(go);
    DestroyIcon(g_blue);
    DestroyIcon(g_green);
}

// The windows of one program share its file's icon, read once and drawn on every button without a copy per
// button. Wine reads no class of another process's window, and passes such a window no question either: it
// is not asked, and its redraw leaves its icon as it is.
TEST_F(ModelViews, OneProgramsWindowsShareItsFilesIconAndAWindowThatCannotBeAskedIsNotAskedAtItsRedraw) {
    kit::Process red;
    ASSERT_NE(standin::openBrowser(red, "--count 3", "cv-red-browser.exe"), nullptr);
    std::vector<HWND> w;
    ASSERT_TRUE(
        kit::waitFor([&] { return (w = kit::topLevelWindows("IEFrame", nullptr, red.id())).size() == 3; }));
    app::BrowserTracker model;
    model.setUsesTabControl(true);
    for (HWND each : w)
        model.HandleShellEvent(each, HSHELL_WINDOWCREATED);
    ASSERT_EQ(model.list().count(), 3);
    const HICON shown = model.list().entries[0].icon.shown;
    EXPECT_NE(shown, nullptr);
    for (const app::BrowserEntry& entry : model.list().entries)
        EXPECT_TRUE(entry.icon.shown == shown && !entry.icon.copy && entry.icon.request == 0);
    model.HandleShellEvent(w[1], HSHELL_REDRAW);
    EXPECT_EQ(model.list().entries[1].icon.request, 0u);
    EXPECT_EQ(model.list().entries[1].icon.shown, shown);
}

TEST_F(ModelViews, AWindowTheShellHidesLosesItsButtonAtTheEventUnlessEveryDesktopIsShown) {
    kit::Process process;
    ASSERT_TRUE(standin::openBrowser(process, "--count 4"));
    std::vector<HWND> w;
    ASSERT_TRUE(kit::waitFor(
        [&] { return (w = kit::topLevelWindows("IEFrame", nullptr, process.id())).size() == 4; }));
    app::BrowserTracker model(reader);
    HWND stripWin = make(stripWindow(400, 700));
    app::ButtonStrip strip(model);
    strip.attach(stripWin);
    SetWindowLongPtrA(stripWin, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&strip));
    model.attach(stripWin);
    model.setUsesTabControl(true);
    model.subscribe(strip);
    strip.createToolTips();
    // The last one is a window of today's browsers on another desktop: not listed while hidden.
    for (HWND each : w) {
        reader.windows[each] = {"IEFrame", "", "Page", true, true, false};
        if (each == w[3])
            reader.windows[each] = {"Chrome_WidgetWin_1", "C:\\Chrome\\chrome.exe", "News", true, true, true};
        model.HandleShellEvent(each, HSHELL_WINDOWCREATED);
    }
    ASSERT_EQ(model.list().count(), 3);
    model.setActive(w[2]);
    g_cloakModel = &model;
    app::CloakEventHook hook;
    ASSERT_TRUE(hook.install(stripWin));
    const std::vector<core::Rect> three = core::layoutButtons({0, 0, 700, 24}, 3);
    const std::vector<core::Rect> two = core::layoutButtons({0, 0, 700, 24}, 2);
    // Where the active window's button is painted, and which entry a press there meets.
    auto activeAt = [&](const core::Rect& r) {
        UpdateWindow(stripWin);
        return e2e::BarShot(stripWin).at(r.left + 2, r.top + 3) == kActive &&
               strip.hit({r.left + 2, r.top + 3}) == 2;
    };
    // Raised in order by the one thread of the stand-in, and heard in that order.
    auto raise = [&](HWND window, DWORD event, LONG object) {
        PostMessageA(window, standin::kRaiseWinEvent, event, object);
    };
    ASSERT_TRUE(kit::waitFor([&] { return activeAt(three[2]); }));

    for (bool currentDesktopOnly : {true, false}) {
        SCOPED_TRACE(currentDesktopOnly ? "current desktop only" : "every desktop");
        app::settings().currentDesktopOnly = currentDesktopOnly;
        strip.filterChanged();
        reader.windows[w[1]].cloaked = true;
        reader.cloakReads.clear();
        // An event for a part of the window says nothing of the window: only the window's own is read, and
        // the event of another window raised after both tells when they have been heard.
        raise(w[1], app::kCloakedEvent, OBJID_CLIENT);
        raise(w[1], app::kCloakedEvent, OBJID_WINDOW);
        raise(w[0], app::kCloakedEvent, OBJID_WINDOW);
        ASSERT_TRUE(kit::waitFor([&] { return reader.cloakReads.size() >= 2; }, 1000));
        EXPECT_EQ(reader.cloakReads, (std::vector<HWND>{w[1], w[0]}));
        EXPECT_TRUE(model.list().entries[1].cloaked);
        EXPECT_EQ(model.list().count(), 3) << "a hidden window stays listed";
        if (currentDesktopOnly) {
            EXPECT_TRUE(kit::waitFor([&] { return activeAt(two[1]); }, 1000));
            const RECT none = strip.buttonRect(1);
            EXPECT_TRUE(IsRectEmpty(&none));
            MSG pointer{stripWin, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1), GetTickCount(), {0, 0}};
            strip.relayToToolTips(pointer);
            const RECT tool = toolRect(strip.toolTipWindow(), stripWin, w[1]);
            EXPECT_TRUE(IsRectEmpty(&tool)) << "the hidden window's tool tip still answers";
        } else {
            EXPECT_TRUE(activeAt(three[2]));
        }
        reader.windows[w[1]].cloaked = false;
        raise(w[1], app::kUncloakedEvent, OBJID_WINDOW);
        EXPECT_TRUE(
            kit::waitFor([&] { return !model.list().entries[1].cloaked && activeAt(three[2]); }, 1000));
    }
    reader.windows[w[3]].cloaked = false;
    raise(w[3], app::kUncloakedEvent, OBJID_WINDOW);
    EXPECT_TRUE(kit::waitFor([&] { return model.list().count() == 4; }, 1000))
        << "a window of today's browsers was not listed as its desktop came into view";
    hook.release();
}

} // namespace
