#include "app/browser_tracker.h"

#include <string>
#include <utility>

#include "app/app.h"
#include "app/taskbar_list.h"
#include "core/monitor_bars.h"
#include "core/preference_rules.h"
#include "hooks/shell/cvsh.h"

namespace app {

namespace {
// How often windows waiting for their showing are looked at: soon enough that a browser seems placed as it
// appears.
constexpr UINT kPendingCheckMs = 100;
constexpr UINT kAutoHideDelayMs = 4000;

// Shows the icon, copied only when it is another one and not kept by the bar all run (copying an icon costs
// more than the rest of a window's listing); true when the entry changed.
bool setIcon(EntryIcon& icon, HICON source, bool kept) {
    if (icon.source == source && (icon.shown || !source)) return false;
    icon.copy.reset(source && !kept ? CopyIcon(source) : nullptr);
    icon.shown = kept ? source : icon.copy.get();
    icon.source = source;
    return true;
}

core::ShellCode shellCodeOf(LPARAM code) {
    if (code == cvsh::kWindowCreated) return core::ShellCode::Created;
    if (code == cvsh::kWindowDestroyed) return core::ShellCode::Destroyed;
    if (code == cvsh::kWindowActivated) return core::ShellCode::Activated;
    if (code == cvsh::kWindowFlashed) return core::ShellCode::Flashed;
    return code == cvsh::kWindowRetitled ? core::ShellCode::Retitled : core::ShellCode::Other;
}

BOOL CALLBACK collectOne(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}
} // namespace

void BrowserTracker::Enumerate() {
    std::vector<HWND> windows;
    EnumWindows(collectOne, reinterpret_cast<LPARAM>(&windows));
    // The system lists the front-most window first, so it ends up last: the rightmost button.
    const bool icons = settings().showWindowIcons;
    for (HWND window : windows) {
        WindowLook facts(reader_, window);
        if (!core::isBrowserWindow(facts, settings())) continue;
        BrowserEntry& entry = list_.insertFront(window, core::buttonText(facts, settings()));
        entry.cloaked = facts.cloaked();
        if (followMonitors_) entry.monitor = monitorOf(window);
        // Nothing is announced before the order: the first paint draws it.
        if (icons) showStandIn(entry.icon, icons_.standIn(window, facts.processImage()));
    }
    announce([](BrowserListObserver& o) { o.orderChanged(); });
    if (!icons) return;
    list_.forEachFirstToLast([this](HWND window) {
        if (!list_.entries[static_cast<size_t>(list_.find(window))].icon.unaskable)
            askIcon(window, WindowIcons::firstRequest());
    });
}

bool BrowserTracker::showStandIn(EntryIcon& icon, const WindowIcons::StandIn& standIn) {
    icon.standIn = standIn.icon;
    icon.unaskable = standIn.refused;
    return setIcon(icon, standIn.icon, icons_.keeps(standIn.icon));
}

void BrowserTracker::setActive(HWND window) {
    if (window == active_) return;
    HWND previous = active_;
    active_ = window;
    announce([&](BrowserListObserver& o) { o.activeChanged(previous, window); });
}

BrowserTracker::EventResult BrowserTracker::HandleShellEvent(HWND window, LPARAM code) {
    // Every fact is read at most once for the event, the process included, and only if a rule asks.
    WindowLook facts(reader_, window);
    const core::ShellDecision d =
        core::decideShellEvent(shellCodeOf(code), facts, settings(), list_.find(window) >= 0);
    EventResult result;
    if (d.unwatch) dropPending(window);
    if (d.list) {
        list(window, facts);
        result.arrived = window;
    }
    if (d.watch) watchPending(window);
    if (d.clearActive) setActive(nullptr);
    if (d.activate) {
        setActive(window);
        Place(window);
    }
    if (d.retitle) retitle(window, facts);
    if (d.endAttention) setAttention(window, false);
    // Only the first flash of a call asks for the bar: a window flashes on until it is seen.
    if (d.callAttention && setAttention(window, true)) result.calling = window;
    if (d.buttonOffAgain) takeButtonOff(window);
    if (d.unlist) {
        unlist(window);
    } else if (!d.list) {
        // Any event of a listed window may follow a move to another monitor (an activation always can).
        recheckMonitor(window);
    }
    result.answer = d.concernsBar ? 1 : 0;
    return result;
}

template <class Change> bool BrowserTracker::changeEntries(HWND window, Change change) {
    bool changed = false;
    list_.forEachIndexOf(window, [&](int i) {
        // What an observer did for an earlier entry may have changed the list (see retitle).
        if (!list_.validIndex(i)) return;
        BrowserEntry& entry = list_.entries[static_cast<size_t>(i)];
        if (entry.window != window || !change(entry)) return;
        changed = true;
        announce([i](BrowserListObserver& o) { o.entryChanged(i); });
    });
    return changed;
}

void BrowserTracker::followMonitors(bool follow, const std::vector<win::Monitor>& monitors) {
    followMonitors_ = follow;
    monitorHandles_.clear();
    monitorRects_.clear();
    for (const win::Monitor& m : monitors) {
        monitorHandles_.push_back(m.handle);
        monitorRects_.push_back(m.info.rect);
    }
}

HMONITOR BrowserTracker::monitorOf(HWND window) const {
    core::Rect rect;
    const int i = reader_.rectangle(window, &rect) ? core::monitorOverlappedMost(monitorRects_, rect) : -1;
    return i >= 0 ? monitorHandles_[static_cast<std::size_t>(i)] : reader_.monitor(window);
}

void BrowserTracker::recheckMonitor(HWND window) {
    if (!followMonitors_) return;
    if (!window) {
        list_.forEachFirstToLast([this](HWND each) { recheckMonitor(each); });
        return;
    }
    if (list_.find(window) < 0) return;
    const HMONITOR now = monitorOf(window);
    changeEntries(window, [now](BrowserEntry& entry) { return std::exchange(entry.monitor, now) != now; });
}

void BrowserTracker::list(HWND window, core::WindowFacts& facts) {
    BrowserEntry& entry = list_.append(window, core::buttonText(facts, settings()));
    entry.cloaked = facts.cloaked();
    if (followMonitors_) entry.monitor = monitorOf(window);
    // The stand-in comes with the entry: announced with it, not as a change of its own after it.
    if (settings().showWindowIcons) showStandIn(entry.icon, icons_.standIn(window, facts.processImage()));
    if (usesTaskbarList(facts)) takeButtonOff(window);
    const int index = list_.count() - 1;
    announce([&](BrowserListObserver& o) { o.entryAdded(index, window); });
    readIcon(window, facts, false);
    // The shell reports a window as it is created, and a browser may show its frame only later: placing a
    // window its program has not shown yet can leave it hidden for good. Such a window waits for its showing,
    // also through the restoring of all windows the bar may do for it (placeArrival comes after).
    if (!facts.visible()) holdUntilShown(window);
    KillTimer(bar_, AUTOHIDE_TIMER_ID);
}

void BrowserTracker::placeArrival(HWND window) {
    if (IsWindowVisible(window)) placeWindow(window);
}

void BrowserTracker::retitle(HWND window, core::WindowFacts& facts) {
    // Read once for every entry of the window, before the walk.
    const std::string title = core::buttonText(facts, settings());
    list_.forEachIndexOf(window, [&](int i) {
        // What an observer did for an earlier entry may have changed the list: the entry may be gone, or
        // another window's may have moved onto its place.
        if (!list_.validIndex(i)) return;
        BrowserEntry& entry = list_.entries[static_cast<size_t>(i)];
        if (entry.window != window) return;
        entry.title = title;
        announce([i](BrowserListObserver& o) { o.entryChanged(i); });
    });
    // The shell reports a change of the icon as it reports one of the title.
    readIcon(window, facts, false);
}

void BrowserTracker::readIcons() {
    const bool shown = settings().showWindowIcons;
    list_.forEachFirstToLast([&](HWND window) {
        if (shown) {
            WindowLook facts(reader_, window);
            readIcon(window, facts, true);
        } else {
            list_.forEachIndexOf(window, [&](int i) {
                if (list_.validIndex(i)) list_.entries[static_cast<size_t>(i)].icon = EntryIcon{};
            });
        }
    });
}

void BrowserTracker::readIcon(HWND window, core::WindowFacts& facts, bool withStandIn) {
    if (!settings().showWindowIcons) return;
    const int first = list_.find(window);
    if (first < 0) return;
    if (withStandIn) {
        const WindowIcons::StandIn standIn = icons_.standIn(window, facts.processImage());
        changeEntries(window, [&](BrowserEntry& entry) { return showStandIn(entry.icon, standIn); });
    }
    // A window the system will not ask answers nothing: a redraw of it cannot change its icon.
    if (list_.entries[static_cast<size_t>(first)].icon.unaskable) return;
    askIcon(window, WindowIcons::firstRequest());
}

void BrowserTracker::askIcon(HWND window, ULONG_PTR request) {
    // From now on only this request's answer counts for the window's entries.
    list_.forEachIndexOf(window, [&](int i) {
        if (list_.validIndex(i)) list_.entries[static_cast<size_t>(i)].icon.request = request;
    });
    if (!icons_.ask(window, request)) iconAnswered(window, request, nullptr);
}

void BrowserTracker::iconAnswered(HWND window, ULONG_PTR request, HICON icon) {
    const int index = list_.find(window);
    if (index < 0 || list_.entries[static_cast<size_t>(index)].icon.request != request) return;
    if (!icon && !WindowIcons::isLastStep(request)) {
        askIcon(window, WindowIcons::nextStep(request));
        return;
    }
    // The window's own icon may be destroyed by its program at any time: it is copied. Without one, the
    // stand-in shows again.
    const bool kept = !icon && icons_.keeps(list_.entries[static_cast<size_t>(index)].icon.standIn);
    changeEntries(window, [&](BrowserEntry& entry) {
        return setIcon(entry.icon, icon ? icon : entry.icon.standIn, kept);
    });
}

void BrowserTracker::recheckCloaked(HWND window) {
    if (!window) {
        list_.forEachFirstToLast([this](HWND each) { setCloaked(each, reader_.cloaked(each)); });
        return;
    }
    if (list_.find(window) >= 0) {
        setCloaked(window, reader_.cloaked(window));
        return;
    }
    // Today's browsers' windows are listed only once they would have a taskbar button, which a hidden one
    // would not: one on another desktop when the bar started joins as its desktop comes into view. Every
    // other window ends at its class.
    WindowLook facts(reader_, window);
    if (!core::decideShellEvent(core::ShellCode::Other, facts, settings(), false).list) return;
    dropPending(window);
    list(window, facts);
}

void BrowserTracker::setCloaked(HWND window, bool cloaked) {
    const bool shown = changeEntries(window,
                                     [cloaked](BrowserEntry& entry) {
                                         return std::exchange(entry.cloaked, cloaked) != cloaked;
                                     }) &&
                       !cloaked;
    // Cloaking leaves the window listed, so its taskbar button stays off; a shell that gives the button back
    // as the window's desktop comes into view has it taken off again.
    if (shown) {
        WindowLook facts(reader_, window);
        if (usesTaskbarList(facts)) takeButtonOff(window);
    }
}

bool BrowserTracker::setAttention(HWND window, bool calling) {
    return changeEntries(window, [calling](BrowserEntry& entry) {
        return std::exchange(entry.attention, calling) != calling;
    });
}

void BrowserTracker::unlist(HWND window) {
    const int index = list_.find(window);
    announce([&](BrowserListObserver& o) { o.entryRemoving(index, window); });
    list_.removeAt(index);
    if (list_.find(window) < 0) giveButtonBack(window);
    // Whether or not it was the active one; the views draw the whole list again for a removal.
    active_ = nullptr;
    if (settings().autoHide && list_.empty()) SetTimer(bar_, AUTOHIDE_TIMER_ID, kAutoHideDelayMs, nullptr);
}

bool BrowserTracker::usesTaskbarList(core::WindowFacts& facts) const {
    return !usesTabControl_ || core::otherBrowserOf(facts, settings()) != nullptr;
}

void BrowserTracker::takeButtonsOff() {
    list_.forEachFirstToLast([this](HWND window) {
        WindowLook facts(reader_, window);
        if (usesTaskbarList(facts)) takeButtonOff(window);
    });
}

void BrowserTracker::Place(HWND window) {
    // Asked first: looking at another program's window is a call to the server, on every activation.
    if (core::placementOf(settings()) == core::Placement::DontChange) return;
    if (!window || !IsWindow(window)) {
        list_.forEachLastToFirst([this](HWND each) { placeWhenShown(each); });
    } else {
        placeWhenShown(window);
    }
}

void BrowserTracker::placeWhenShown(HWND window) {
    if (IsWindowVisible(window)) {
        // Placed now, it is done with: a later check must not place it again over what the user did since.
        dropPending(window);
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

std::vector<HWND> BrowserTracker::recheckPending() {
    std::vector<HWND> arrived;
    pending_.recheck(GetTickCount(), [&](HWND window) {
        WindowLook facts(reader_, window);
        switch (core::decidePending(facts, settings(), list_.find(window) >= 0)) {
        case core::PendingStep::Wait:
            return false;
        case core::PendingStep::List:
            list(window, facts);
            arrived.push_back(window);
            return true;
        case core::PendingStep::Place:
            placeWindow(window);
            return true;
        case core::PendingStep::Drop:
            break;
        }
        return true;
    });
    if (pending_.empty()) KillTimer(bar_, PENDING_TIMER_ID);
    return arrived;
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

void BrowserTracker::MinimiseAll() {
    if (!settings().hideBrowsersWithBar) return;
    list_.forEachLastToFirst([](HWND window) { ShowWindowAsync(window, SW_MINIMIZE); });
}

void BrowserTracker::RestoreAll() {
    list_.forEachFirstToLast([this](HWND window) {
        // Not shown by its program yet: it is shown, and placed, when its program is ready.
        if (pending_.contains(window)) return;
        ShowWindowAsync(window, SW_RESTORE);
        SetForegroundWindow(window);
    });
    Place(nullptr);
}

void BrowserTracker::CloseAll() {
    list_.forEachLastToFirst([](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); });
}

void BrowserTracker::moveEntry(int from, int to) {
    if (from == to || !list_.move(from, to)) return;
    announce([](BrowserListObserver& o) { o.orderChanged(); });
}

void BrowserTracker::Activate(int index) {
    if (!list_.validIndex(index)) return;
    HWND window = list_.entries[static_cast<size_t>(index)].window;
    if (!IsWindow(window)) return;
    if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
    SetForegroundWindow(window);
}

} // namespace app
