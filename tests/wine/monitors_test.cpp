// The bar on two monitors side by side (1024x768 primary, 800x600 right of it), outside Wine's virtual
// desktop: a bar docked at the bottom of each, each with the buttons of the windows on its own monitor, each
// at its monitor's DPI and each answering a screen reader, the bars made again when a monitor goes and
// comes. Run by two_monitors.sh, which makes the monitors.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/bar_ids.h"
#include "core/bar_commands.h"
#include "kit/bar_fixture.h"
#include "kit/screen_reader.h"

namespace {

constexpr RECT kPrimary{0, 0, 1024, 768};
constexpr RECT kSecond{1024, 0, 1824, 600};
constexpr const char* kOtherTitle = "Corvane! bar";

// Runs a Unix command line through the shell and waits until it has finished.
bool runUnix(const std::string& line) {
    static int calls = 0;
    const std::string done =
        "/tmp/corvane-monitors-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++calls);
    std::string command = "Z:\\bin\\sh -c \"" + line + " >/dev/null 2>&1; touch " + done + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    const std::string seen = "Z:" + done;
    const bool finished =
        kit::waitFor([&] { return GetFileAttributesA(seen.c_str()) != INVALID_FILE_ATTRIBUTES; });
    DeleteFileA(seen.c_str());
    return finished;
}

// Switches the second monitor off or on, waits until Wine sees it, and tells every window, as the system
// would.
bool secondMonitor(bool on) {
    const std::string line =
        on ? "xrandr --output DUMMY1 --mode 800x600 --right-of DUMMY0" : "xrandr --output DUMMY1 --off";
    if (!runUnix(line)) return false;
    const int wanted = on ? 2 : 1;
    if (!kit::waitFor([&] { return GetSystemMetrics(SM_CMONITORS) == wanted; })) return false;
    PostMessageA(HWND_BROADCAST, WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
    return true;
}

// Where the probe build of the bar (probe_bar_main.cpp) reads the DPI of the monitors other than the primary
// one: Wine gives every monitor the one DPI.
constexpr const char* kProbeKey = "Software\\Corvane! probe";

class TwoMonitors : public e2e::BarTest {
  protected:
    void SetUp() override {
        BarTest::SetUp();
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "run this program through two_monitors.sh";
    }
    void TearDown() override {
        BarTest::TearDown();
        RegDeleteKeyA(HKEY_CURRENT_USER, kProbeKey);
    }
    static void setOtherMonitorsDpi(DWORD dpi) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kProbeKey, "Other monitors DPI", REG_DWORD, &dpi, sizeof(dpi));
    }
    void startProbe() {
        ASSERT_TRUE(proc_.start("\"" + kit::binDir() + "\\probe\\corvane_probe.exe\""));
        ASSERT_TRUE(
            kit::waitFor([&] { return (bar_ = e2e::findBar()) != nullptr && IsWindowVisible(bar_); }));
        browsers_.setBar(bar_);
    }
    static HWND waitOtherBar() {
        HWND other = nullptr;
        kit::waitFor([&] { return (other = otherBar()) != nullptr && IsWindowVisible(other); });
        return other;
    }
    // A window on each monitor, then the bar.
    void startWithOneEach() {
        left_ = browsers_.open("Left", "IEFrame", false, 100, 100);
        right_ = browsers_.open("Right", "IEFrame", false, 1200, 100);
        start(false);
    }
    static HWND otherBar() { return FindWindowA(nullptr, kOtherTitle); }
    // Whether the bar shows exactly n buttons (raised ones: none is active here).
    static bool shows(HWND bar, int n) {
        if (!bar) return false;
        e2e::BarShot shot(bar);
        const COLORREF raised = GetSysColor(COLOR_BTNHIGHLIGHT);
        return (n == 0 || shot.at(e2e::button(n - 1).left, 10) == raised) &&
               shot.at(e2e::button(n).left, 10) != raised;
    }
    static bool waitShows(HWND bar, int n, DWORD timeoutMs = 5000) {
        return kit::waitFor([&] { return shows(bar, n); }, timeoutMs);
    }
    static bool docked(HWND bar, const RECT& monitor, int height = 24) {
        RECT r{};
        GetWindowRect(bar, &r);
        return r.left == monitor.left && r.right == monitor.right && r.bottom == monitor.bottom &&
               r.top == monitor.bottom - height;
    }
    // Whether the bar's first button begins at x, in its client area.
    static bool firstButtonAt(HWND bar, int x) {
        e2e::BarShot shot(bar);
        const COLORREF raised = GetSysColor(COLOR_BTNHIGHLIGHT);
        return shot.at(x, 12) == raised && shot.at(x - 1, 12) != raised;
    }

    HWND left_ = nullptr, right_ = nullptr;
};

TEST_F(TwoMonitors, EachMonitorHasADockedBarWithTheButtonsOfItsWindowsAndAMovedWindowChangesBars) {
    for (DWORD byMonitor : {1u, 0u}) {
        SCOPED_TRACE(byMonitor);
        e2e::writeSetting("Buttons on the bar of the window's monitor", byMonitor);
        startWithOneEach();
        HWND other = nullptr;
        ASSERT_TRUE(kit::waitFor([&] { return (other = otherBar()) != nullptr && IsWindowVisible(other); }));
        EXPECT_EQ(e2e::findBar(), bar_) << "the main bar keeps its title";
        EXPECT_TRUE(docked(bar_, kPrimary));
        EXPECT_TRUE(docked(other, kSecond));
        EXPECT_EQ(e2e::bottomOfferedToANewcomer(kSecond), kSecond.bottom - 24) << "no strip on the second";
        const int each = byMonitor ? 1 : 2;
        EXPECT_TRUE(waitShows(bar_, each));
        EXPECT_TRUE(waitShows(other, each));

        // Moved by a program, and the end of the move reported as the system reports a drag's.
        SetWindowPos(left_, nullptr, 1300, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        NotifyWinEvent(EVENT_SYSTEM_MOVESIZEEND, left_, OBJID_WINDOW, CHILDID_SELF);
        EXPECT_TRUE(waitShows(other, 2, 1000));
        EXPECT_TRUE(waitShows(bar_, byMonitor ? 0 : 2, 1000));
        // Back by its activation alone.
        SetWindowPos(left_, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        e2e::shellEvent(bar_, left_, e2e::kActivated);
        EXPECT_TRUE(kit::waitFor([&] {
            return e2e::BarShot(bar_).at(e2e::button(0).left, 10) == GetSysColor(COLOR_BTNSHADOW);
        })) << "the moved-back window's button, active, on the main bar";

        ASSERT_TRUE(e2e::closeBar(proc_, bar_));
        EXPECT_EQ(otherBar(), nullptr);
        EXPECT_EQ(e2e::bottomOfferedToANewcomer(kSecond), kSecond.bottom) << "a strip left reserved";
        browsers_.close(left_);
        browsers_.close(right_);
    }
}

TEST_F(TwoMonitors, OneBarOnThePrimaryOrTheChosenMonitorShowsEveryWindow) {
    MONITORINFOEXA second{};
    second.cbSize = sizeof(second);
    GetMonitorInfoA(MonitorFromPoint({1300, 100}, MONITOR_DEFAULTTONULL), &second);
    struct Case {
        DWORD barsOn;
        std::string chosen;
        RECT on;
    } const cases[] = {{0, second.szDevice, kPrimary}, {2, second.szDevice, kSecond}, {2, "gone", kPrimary}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.barsOn);
        SCOPED_TRACE(c.chosen);
        e2e::writeSetting("Bars on", c.barsOn);
        e2e::writeSettingWide("Bar monitor", c.chosen);
        startWithOneEach();
        EXPECT_TRUE(waitShows(bar_, 2));
        EXPECT_TRUE(docked(bar_, c.on));
        EXPECT_EQ(otherBar(), nullptr);
        ASSERT_TRUE(e2e::closeBar(proc_, bar_));
        browsers_.close(left_);
        browsers_.close(right_);
    }
}

TEST_F(TwoMonitors, TheTrayTakesEveryBarAndGivesEveryStripBack) {
    startWithOneEach();
    HWND other = nullptr;
    ASSERT_TRUE(kit::waitFor([&] { return (other = otherBar()) != nullptr && IsWindowVisible(other); }));
    PostMessageA(bar_, WM_COMMAND, core::ID_BAR_HIDE_RIGHT, 0);
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindowVisible(bar_) && !IsWindowVisible(other); }));
    EXPECT_EQ(e2e::bottomOfferedToANewcomer(kSecond), kSecond.bottom);
    EXPECT_EQ(e2e::bottomOfferedToANewcomer(kPrimary), kPrimary.bottom);
    PostMessageA(bar_, app::WM_BAR_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) && IsWindowVisible(other); }));
    EXPECT_TRUE(docked(other, kSecond));
    EXPECT_TRUE(waitShows(other, 1));
    // A press on the other bar's button is the main bar's to carry out: its window comes to the front.
    e2e::waitForeground(left_);
    kit::click(e2e::clientToScreen(other, {e2e::button(0).left + 30, 12}));
    EXPECT_TRUE(kit::waitFor([&] { return GetForegroundWindow() == right_; }));
}

TEST_F(TwoMonitors, AFullScreenWindowStepsBackTheBarOfItsOwnMonitorOnly) {
    e2e::writeSetting("Force placement over fullscreen popups", 0);
    startWithOneEach();
    HWND other = nullptr;
    ASSERT_TRUE(kit::waitFor([&] { return (other = otherBar()) != nullptr && IsWindowVisible(other); }));
    HWND full = browsers_.open("Full", "CorvaneTestOther", false, kSecond.left, 0);
    SetWindowPos(full, HWND_TOP, kSecond.left, kSecond.top, 800, 600, 0);
    // A new window comes to the front by itself only while its process has the foreground, which the bars'
    // start may have taken: it is brought there. Without a window manager the X server gives the keyboard to
    // the window under the pointer, and Wine follows it: the pointer goes onto the window first.
    SetCursorPos(kSecond.left + 400, kSecond.top + 300);
    ASSERT_TRUE(e2e::bringToFront(full));
    const auto topmost = [](HWND w) { return (GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    // The shell tells every appbar, whatever its monitor.
    for (LPARAM opened : {1, 0}) {
        for (HWND bar : {bar_, other})
            PostMessageA(bar, app::WM_BAR_APPBARNOTIFY, ABN_FULLSCREENAPP, opened);
        EXPECT_TRUE(kit::waitFor([&] { return topmost(other) == !opened; })) << opened;
        EXPECT_TRUE(topmost(bar_)) << opened;
    }
}

TEST_F(TwoMonitors, BrowsersAreMaximisedOnTheirOwnMonitorAndAlignedAnywhereOnTheDesktop) {
    e2e::writeSetting("Maximize browser windows", 1);
    start(false);
    HWND maximised = browsers_.open("Maximised", "IEFrame", true, 1200, 100);
    EXPECT_TRUE(kit::waitFor([&] {
        RECT r{};
        GetWindowRect(maximised, &r);
        return IsZoomed(maximised) && r.left <= kSecond.left && r.right >= kSecond.right && r.right < 1900;
    }));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));
    e2e::writeSetting("Maximize browser windows", 0);
    e2e::writeSetting("Align browser windows", 1);
    for (auto [name, value] : {std::pair{"Left", 1300}, {"Top", 100}, {"Width", 400}, {"Height", 300}})
        e2e::writeSetting(name, static_cast<DWORD>(value));
    start(false);
    HWND aligned = browsers_.open("Aligned", "IEFrame", true, 100, 100);
    EXPECT_TRUE(kit::waitFor([&] {
        RECT r{};
        GetWindowRect(aligned, &r);
        return r.left == 1300 && r.top == 100 && r.right == 1700 && r.bottom == 400;
    })) << "the alignment rectangle on the second monitor was kept";
}

TEST_F(TwoMonitors, EachBarIsDrawnAtItsOwnMonitorsDpiAndTakesANewOneWhenTheSystemSaysItChanged) {
    setOtherMonitorsDpi(144);
    left_ = browsers_.open("Left", "IEFrame", false, 100, 100);
    right_ = browsers_.open("Right", "IEFrame", false, 1200, 100);
    startProbe();
    HWND other = waitOtherBar();
    ASSERT_NE(other, nullptr);
    // At 144 DPI: 36 high, the button at 81 (54 x 1.5), its title in the font scaled from -11 to -17.
    EXPECT_TRUE(kit::waitFor([&] { return docked(other, kSecond, 36) && firstButtonAt(other, 81); }));
    EXPECT_TRUE(e2e::buttonTextDrawnAs(other, {87, 5, 81 + 240 - 5, 31}, "Right", "MS Sans Serif", -17));
    EXPECT_EQ(e2e::bottomOfferedToANewcomer(kSecond), kSecond.bottom - 36);
    EXPECT_TRUE(docked(bar_, kPrimary));
    EXPECT_TRUE(firstButtonAt(bar_, 54));
    EXPECT_TRUE(e2e::buttonTextDrawnAs(bar_, {58, 3, 211, 21}, "Left", "MS Sans Serif", -11));

    // The monitor's DPI is read again at the system's message, whatever the message says.
    setOtherMonitorsDpi(192);
    RECT suggested{kSecond.left, kSecond.bottom - 48, kSecond.right, kSecond.bottom};
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(other, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested),
                        SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_TRUE(kit::waitFor([&] { return docked(other, kSecond, 48) && firstButtonAt(other, 108); }));
    EXPECT_EQ(e2e::bottomOfferedToANewcomer(kSecond), kSecond.bottom - 48);
    EXPECT_TRUE(docked(bar_, kPrimary));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));
}

// A screen reader in another process: each bar's client object holds the buttons of its own strip, and the
// second bar raises its events on its own window.
std::vector<std::pair<HWND, long>> g_stateChanges;
void CALLBACK recordStateChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) g_stateChanges.emplace_back(window, child);
}

TEST_F(TwoMonitors, AScreenReaderReadsAndPressesEachBarsOwnButtonsAndHearsTheSecondBarOnItsWindow) {
    startWithOneEach();
    HWND other = waitOtherBar();
    ASSERT_TRUE(waitShows(other, 1));
    kit::ScreenReader first(bar_), second(other);
    ASSERT_NE(second.bar, nullptr);
    EXPECT_EQ(first.names(1), std::vector<std::string>{"Left"});
    EXPECT_EQ(first.children(), 1 + 5) << "the window of the other monitor left out, the own buttons in";
    EXPECT_EQ(second.names(1), std::vector<std::string>{"Right"});
    EXPECT_EQ(second.children(), 1);
    EXPECT_EQ(second.role(1), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(second.focus(), -1);

    e2e::waitForeground(left_);
    EXPECT_EQ(second.bar->accDoDefaultAction(kit::ScreenReader::child(1)), S_OK);
    EXPECT_TRUE(kit::waitFor([&] { return GetForegroundWindow() == right_; }));
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr,
                                         recordStateChange, proc_.id(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    e2e::shellEvent(bar_, right_, e2e::kActivated);
    EXPECT_TRUE(kit::waitFor([&] {
        return std::find(g_stateChanges.begin(), g_stateChanges.end(), std::pair{other, 1L}) !=
               g_stateChanges.end();
    }));
    EXPECT_TRUE(kit::waitFor([&] { return (second.state(1) & STATE_SYSTEM_PRESSED) != 0; }));
    EXPECT_EQ(first.state(1) & STATE_SYSTEM_PRESSED, 0);
    UnhookWinEvent(hook);
}

// Last: it switches the second monitor off and on again.
TEST_F(TwoMonitors, AMonitorThatGoesTakesItsBarAndItsStripAndOneThatComesGetsOne) {
    startWithOneEach();
    ASSERT_TRUE(kit::waitFor([&] { return otherBar() != nullptr; }));
    ASSERT_TRUE(secondMonitor(false));
    EXPECT_TRUE(kit::waitFor([&] { return otherBar() == nullptr; }));
    EXPECT_EQ(e2e::bottomOfferedToANewcomer(kSecond), kSecond.bottom) << "a strip left on a monitor gone";
    EXPECT_TRUE(waitShows(bar_, 2)) << "the window of the monitor gone shows on the bar left";
    ASSERT_TRUE(secondMonitor(true));
    HWND other = nullptr;
    EXPECT_TRUE(kit::waitFor([&] { return (other = otherBar()) != nullptr && IsWindowVisible(other); }));
    EXPECT_TRUE(waitShows(other, 1));
    EXPECT_TRUE(waitShows(bar_, 1));
    EXPECT_EQ(e2e::toolCount(bar_), 2) << "the list kept both windows";
}

} // namespace
