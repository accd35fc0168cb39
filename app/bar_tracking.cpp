// The list of browser windows: filled once at start-up, then kept by the shell's window events; placement
// of the windows and the operations over all of them.
#include <string>

#include "app/app.h"
#include "app/bar_window.h"
#include "app/browser_windows.h"
#include "app/taskbar_list.h"
#include "core/browser_rules.h"
#include "core/preference_rules.h"
#include "hooks/shell/cvsh.h"
#include "win/text.h"

namespace app {

namespace {
using cvsh::kWindowActivated;
using cvsh::kWindowCreated;
using cvsh::kWindowDestroyed;
using cvsh::kWindowRetitled;
// How often windows waiting for their showing are looked at: soon enough that a browser seems placed as it
// appears.
constexpr UINT kPendingCheckMs = 100;

bool isBrowserWindow(HWND window) {
    // Any longer name is not one of ours; a cut one cannot match either.
    char name[256] = {};
    if (GetClassNameA(window, name, sizeof(name)) <= 0) return false;
    if (core::isTrackedClass(name, settings().catchExplorerWindows != 0)) return true;
    return otherBrowserProgram(window, name) && wouldHaveTaskbarButton(window);
}

// The text the system keeps for the window, read without a message to it: a program that does not answer
// cannot hold the bar.
std::string titleOf(HWND window) {
    if (const core::BrowserProgram* program = otherBrowserProgram(window))
        return otherBrowserButtonText(window, *program);
    return core::browserTitle(win::storedWindowText(window));
}

BOOL CALLBACK enumerateOne(HWND window, LPARAM param) {
    auto* list = reinterpret_cast<BrowserWindowList*>(param);
    // The system lists the front-most window first, so it ends up last: the rightmost button.
    if (isBrowserWindow(window)) list->insertFront(window, titleOf(window));
    return TRUE;
}
} // namespace

void BarWindow::Enumerate() {
    EnumWindows(enumerateOne, reinterpret_cast<LPARAM>(&browserList));
}

int BarWindow::FindEntry(HWND window) const {
    return browserList.find(window);
}

bool BarWindow::concernsBar(HWND window, LPARAM code) {
    if (!isBrowserWindow(window)) {
        if (code == kWindowActivated) setActiveBrowser(nullptr);
        if (otherBrowserProgram(window)) watchPending(window);
        return false;
    }
    // A later code is a chance to catch a window of today's browsers that was not ready at its creation.
    if (code != kWindowCreated && FindEntry(window) < 0 && otherBrowserProgram(window)) {
        dropPending(window);
        onWindowCreated(window);
    }
    return true;
}

LRESULT BarWindow::HandleShellEvent(HWND window, LPARAM code) {
    // The report of a destruction arrives after the window is gone: its class can no longer be read.
    if (code == kWindowDestroyed) return onWindowDestroyed(window);
    if (!concernsBar(window, code)) return 0;
    switch (code) {
    case kWindowActivated:
        setActiveBrowser(window);
        Place(window);
        break;
    case kWindowCreated:
        // Today's browsers are listed once; the classic classes keep their rule of one entry per report.
        if (FindEntry(window) >= 0 && otherBrowserProgram(window)) {
            takeButtonOff(window);
            break;
        }
        onWindowCreated(window);
        break;
    case kWindowRetitled:
        browserList.forEachIndexOf(window, [&](int i) {
            std::string title = titleOf(window);
            // Reading the text may have let another event change the list: the entry may be gone, or another
            // window's may have moved onto its place.
            if (!browserList.validIndex(i)) return;
            BrowserEntry& entry = browserList.entries[static_cast<size_t>(i)];
            if (entry.window != window) return;
            entry.title = std::move(title);
            accessibility_.notifyBrowserButton(EVENT_OBJECT_NAMECHANGE, i);
            invalidateEntry(entry);
        });
        break;
    default:
        break;
    }
    return 1;
}

void BarWindow::onWindowCreated(HWND window) {
    browserList.append(window, titleOf(window));
    accessibility_.notifyBrowserButton(EVENT_OBJECT_CREATE, browserList.count() - 1);
    if (usesTaskbarList(window)) takeButtonOff(window);
    addBrowserTool(window);
    // The shell reports a window as it is created, and a browser may show its frame only later: placing a
    // window its program has not shown yet can leave it hidden for good. Such a window waits for its showing,
    // also through the restoring of all windows below.
    const bool shown = IsWindowVisible(window) != 0;
    if (!shown) holdUntilShown(window);
    if (settings().autoRestoreFromTray && !IsWindowVisible(hwnd())) restoreFromTray();
    if (shown) placeWindow(window);
    InvalidateRect(hwnd(), nullptr, TRUE);
    KillTimer(hwnd(), AUTOHIDE_TIMER_ID);
}

bool BarWindow::usesTaskbarList(HWND window) const {
    return !usesTabControl_ || otherBrowserProgram(window) != nullptr;
}

void BarWindow::takeButtonsOff() {
    browserList.forEachFirstToLast([this](HWND window) {
        if (usesTaskbarList(window)) takeButtonOff(window);
    });
}

LRESULT BarWindow::onWindowDestroyed(HWND window) {
    dropPending(window);
    int index = FindEntry(window);
    if (index < 0) return 0;
    deleteBrowserTool(window);
    accessibility_.notifyBrowserButton(EVENT_OBJECT_DESTROY, index);
    browserList.removeAt(index);
    if (FindEntry(window) < 0) giveButtonBack(window);
    activeBrowser = nullptr;
    InvalidateRect(hwnd(), nullptr, TRUE);
    if (settings().autoHide && browserList.empty()) SetTimer(hwnd(), AUTOHIDE_TIMER_ID, 4000, nullptr);
    return 1;
}

void BarWindow::Place(HWND window) {
    if (!window || !IsWindow(window)) {
        placeAll();
    } else {
        placeWhenShown(window);
    }
}

void BarWindow::placeWhenShown(HWND window) {
    if (core::placementOf(settings()) == core::Placement::DontChange) return;
    if (IsWindowVisible(window)) {
        placeWindow(window);
    } else {
        holdUntilShown(window);
    }
}

void BarWindow::holdUntilShown(HWND window) {
    if (core::placementOf(settings()) == core::Placement::DontChange) return;
    watchPending(window);
}

void BarWindow::watchPending(HWND window) {
    // The timer runs only while a window waits: an idle bar is not woken.
    if (pending_.empty()) SetTimer(hwnd(), PENDING_TIMER_ID, kPendingCheckMs, nullptr);
    pending_.add(window, GetTickCount());
}

void BarWindow::dropPending(HWND window) {
    pending_.remove(window);
    if (pending_.empty()) KillTimer(hwnd(), PENDING_TIMER_ID);
}

void BarWindow::recheckPending() {
    pending_.recheck(GetTickCount(), [this](HWND window) {
        if (!IsWindow(window)) return true;
        if (FindEntry(window) < 0) {
            // Not listed: a window of today's browsers that was not ready when reported, or one that left.
            if (!otherBrowserProgram(window)) return true;
            if (!isBrowserWindow(window)) return false;
            onWindowCreated(window);
            return true;
        }
        if (!IsWindowVisible(window)) return false;
        placeWindow(window);
        return true;
    });
    if (pending_.empty()) KillTimer(hwnd(), PENDING_TIMER_ID);
}

// Every call on a browser window below leaves the window's own thread to carry it out: a browser that does
// not answer must not hold the bar.
void BarWindow::placeWindow(HWND window) {
    const core::Settings& s = settings();
    // Maximising wins when both options are on: the preferences keep them exclusive, the registry need not.
    switch (core::placementOf(s)) {
    case core::Placement::Maximize:
        ShowWindowAsync(window, SW_SHOWMAXIMIZED);
        break;
    case core::Placement::Align:
        ShowWindowAsync(window, SW_SHOWNOACTIVATE);
        SetWindowPos(window, nullptr, s.alignLeft, s.alignTop, s.alignWidth, s.alignHeight,
                     SWP_NOZORDER | SWP_ASYNCWINDOWPOS);
        break;
    case core::Placement::DontChange:
        break;
    }
}

void BarWindow::placeAll() {
    if (core::placementOf(settings()) == core::Placement::DontChange) return;
    browserList.forEachLastToFirst([this](HWND window) { placeWhenShown(window); });
}

void BarWindow::MinimiseAll() {
    if (!settings().hideBrowsersWithBar) return;
    browserList.forEachLastToFirst([](HWND window) { ShowWindowAsync(window, SW_MINIMIZE); });
}

void BarWindow::RestoreAll() {
    browserList.forEachFirstToLast([this](HWND window) {
        // Not shown by its program yet: it is shown, and placed, when its program is ready.
        if (pending_.contains(window)) return;
        ShowWindowAsync(window, SW_RESTORE);
        SetForegroundWindow(window);
    });
    Place(nullptr);
}

void BarWindow::CloseAll() {
    browserList.forEachLastToFirst([](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); });
}

void BarWindow::Activate(int index) {
    if (!browserList.validIndex(index)) return;
    HWND window = browserList.entries[static_cast<size_t>(index)].window;
    if (!IsWindow(window)) return;
    if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
    SetForegroundWindow(window);
}

void BarWindow::onAutoHideTimer() {
    hideToTray();
    KillTimer(hwnd(), AUTOHIDE_TIMER_ID);
}

namespace {
TOOLINFOW browserTool(HWND owner, HWND window) {
    TOOLINFOW ti{};
    // The version-5 common controls refuse the larger record of later headers.
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = owner;
    // The tool id is the browser's handle, not a window of the bar: no TTF_IDISHWND.
    ti.uId = reinterpret_cast<UINT_PTR>(window);
    return ti;
}
} // namespace

void BarWindow::addBrowserTool(HWND window) {
    if (!toolTips_) return;
    TOOLINFOW ti = browserTool(hwnd(), window);
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    ti.rect = {0, 0, 1, 1};
    ++work_.toolTipMessages;
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void BarWindow::deleteBrowserTool(HWND window) {
    if (!toolTips_) return;
    TOOLINFOW ti = browserTool(hwnd(), window);
    ++work_.toolTipMessages;
    SendMessageW(toolTips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void BarWindow::addBrowserTools() {
    for (const BrowserEntry& entry : browserList.entries) {
        addBrowserTool(entry.window);
        // Painted buttons are not laid out again unless they move: their tools take their place now.
        if (!IsRectEmpty(&entry.buttonRect)) moveBrowserTool(entry);
    }
}

} // namespace app
