#include "app/browser_tracker.h"

#include <string>

#include "app/app.h"
#include "app/bar_ids.h"
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

bool isBrowserWindow(HWND window, const char* name) {
    // Any longer name is not one of ours; a cut one cannot match either.
    if (!name[0]) return false;
    if (core::isTrackedClass(name, settings().catchExplorerWindows != 0)) return true;
    return otherBrowserProgram(window, name) && wouldHaveTaskbarButton(window);
}

// The text the system keeps for the window, read without a message to it: a program that does not answer
// cannot hold the bar.
std::string titleOf(HWND window, const char* className) {
    if (const core::BrowserProgram* program = otherBrowserProgram(window, className))
        return otherBrowserButtonText(window, *program);
    return core::browserTitle(win::storedWindowText(window));
}

BOOL CALLBACK enumerateOne(HWND window, LPARAM param) {
    auto* list = reinterpret_cast<BrowserWindowList*>(param);
    // The system lists the front-most window first, so it ends up last: the rightmost button.
    const ClassName name(window);
    if (isBrowserWindow(window, name.text)) list->insertFront(window, titleOf(window, name.text));
    return TRUE;
}
} // namespace

void BrowserTracker::enumerate() {
    EnumWindows(enumerateOne, reinterpret_cast<LPARAM>(&list_));
}

void BrowserTracker::setActive(HWND window) {
    if (window == active_) return;
    HWND previous = active_;
    active_ = window;
    listener_.activeBrowserChanged(previous, window);
}

bool BrowserTracker::concernsBar(HWND window, LPARAM code, const char* className) {
    if (!isBrowserWindow(window, className)) {
        if (code == kWindowActivated) setActive(nullptr);
        if (otherBrowserProgram(window, className)) watchPending(window);
        return false;
    }
    // A later code is a chance to catch a window of today's browsers that was not ready at its creation.
    if (code != kWindowCreated && find(window) < 0 && otherBrowserProgram(window, className)) {
        dropPending(window);
        onWindowCreated(window, className);
    }
    return true;
}

LRESULT BrowserTracker::handleShellEvent(HWND window, LPARAM code) {
    // The report of a destruction arrives after the window is gone: its class can no longer be read.
    if (code == kWindowDestroyed) return onWindowDestroyed(window);
    const ClassName name(window);
    if (!concernsBar(window, code, name.text)) return 0;
    switch (code) {
    case kWindowActivated:
        setActive(window);
        place(window);
        break;
    case kWindowCreated:
        // Today's browsers are listed once; the classic classes keep their rule of one entry per report.
        if (find(window) >= 0 && otherBrowserProgram(window, name.text)) {
            takeButtonOff(window);
            break;
        }
        onWindowCreated(window, name.text);
        break;
    case kWindowRetitled:
        onWindowRetitled(window, name.text);
        break;
    default:
        break;
    }
    return 1;
}

void BrowserTracker::onWindowRetitled(HWND window, const char* className) {
    // Read once for every entry of the window, before the walk.
    const std::string title = titleOf(window, className);
    list_.forEachIndexOf(window, [&](int i) {
        // What a listener did for an earlier entry may have changed the list: the entry may be gone, or
        // another window's may have moved onto its place.
        if (!list_.validIndex(i)) return;
        BrowserEntry& entry = list_.entries[static_cast<size_t>(i)];
        if (entry.window != window) return;
        entry.title = title;
        listener_.browserRetitled(i);
    });
}

void BrowserTracker::onWindowCreated(HWND window, const char* className) {
    list_.append(window, titleOf(window, className));
    const int index = list_.count() - 1;
    if (usesTaskbarList(window, className)) takeButtonOff(window);
    listener_.browserListed(index, window);
    // The shell reports a window as it is created, and a browser may show its frame only later: placing a
    // window its program has not shown yet can leave it hidden for good. Such a window waits for its showing,
    // also through the restoring of all windows the bar may do now.
    const bool shown = IsWindowVisible(window) != 0;
    if (!shown) holdUntilShown(window);
    listener_.browserArriving();
    if (shown) placeWindow(window);
    InvalidateRect(bar_, nullptr, TRUE);
    KillTimer(bar_, AUTOHIDE_TIMER_ID);
}

bool BrowserTracker::usesTaskbarList(HWND window, const char* className) const {
    return !usesTabControl_ || otherBrowserProgram(window, className) != nullptr;
}

void BrowserTracker::takeButtonsOff() {
    list_.forEachFirstToLast([this](HWND window) {
        if (usesTaskbarList(window, ClassName(window).text)) takeButtonOff(window);
    });
}

LRESULT BrowserTracker::onWindowDestroyed(HWND window) {
    dropPending(window);
    int index = find(window);
    if (index < 0) return 0;
    listener_.browserUnlisting(index, window);
    list_.removeAt(index);
    if (find(window) < 0) giveButtonBack(window);
    active_ = nullptr;
    InvalidateRect(bar_, nullptr, TRUE);
    if (settings().autoHide && list_.empty()) SetTimer(bar_, AUTOHIDE_TIMER_ID, 4000, nullptr);
    return 1;
}

void BrowserTracker::place(HWND window) {
    // Asked first: looking at another program's window is a call to the server, on every activation.
    if (core::placementOf(settings()) == core::Placement::DontChange) return;
    if (!window || !IsWindow(window)) {
        placeAll();
    } else {
        placeWhenShown(window);
    }
}

void BrowserTracker::placeWhenShown(HWND window) {
    if (IsWindowVisible(window)) {
        placeWindow(window);
    } else {
        holdUntilShown(window);
    }
}

void BrowserTracker::holdUntilShown(HWND window) {
    if (core::placementOf(settings()) == core::Placement::DontChange) return;
    watchPending(window);
}

void BrowserTracker::watchPending(HWND window) {
    // The timer runs only while a window waits: an idle bar is not woken.
    if (pending_.empty()) SetTimer(bar_, PENDING_TIMER_ID, kPendingCheckMs, nullptr);
    pending_.add(window, GetTickCount());
}

void BrowserTracker::dropPending(HWND window) {
    pending_.remove(window);
    if (pending_.empty()) KillTimer(bar_, PENDING_TIMER_ID);
}

void BrowserTracker::recheckPending() {
    pending_.recheck(GetTickCount(), [this](HWND window) {
        if (!IsWindow(window)) return true;
        if (find(window) < 0) {
            // Not listed: a window of today's browsers that was not ready when reported, or one that left.
            const ClassName name(window);
            if (!otherBrowserProgram(window, name.text)) return true;
            if (!isBrowserWindow(window, name.text)) return false;
            onWindowCreated(window, name.text);
            return true;
        }
        if (!IsWindowVisible(window)) return false;
        placeWindow(window);
        return true;
    });
    if (pending_.empty()) KillTimer(bar_, PENDING_TIMER_ID);
}

// Every call on a browser window below leaves the window's own thread to carry it out: a browser that does
// not answer must not hold the bar.
void BrowserTracker::placeWindow(HWND window) {
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

void BrowserTracker::placeAll() {
    list_.forEachLastToFirst([this](HWND window) { placeWhenShown(window); });
}

void BrowserTracker::minimiseAll() {
    if (!settings().hideBrowsersWithBar) return;
    list_.forEachLastToFirst([](HWND window) { ShowWindowAsync(window, SW_MINIMIZE); });
}

void BrowserTracker::restoreAll() {
    list_.forEachFirstToLast([this](HWND window) {
        // Not shown by its program yet: it is shown, and placed, when its program is ready.
        if (pending_.contains(window)) return;
        ShowWindowAsync(window, SW_RESTORE);
        SetForegroundWindow(window);
    });
    place(nullptr);
}

void BrowserTracker::closeAll() {
    list_.forEachLastToFirst([](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); });
}

void BrowserTracker::activate(int index) {
    if (!list_.validIndex(index)) return;
    HWND window = list_.entries[static_cast<size_t>(index)].window;
    if (!IsWindow(window)) return;
    if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
    SetForegroundWindow(window);
}

} // namespace app
