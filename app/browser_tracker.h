// The browser windows the bar tracks: the list, filled once at start-up and then kept by the shell's window
// events; which window is active; placing the windows, also those reported before their program showed them.
// This is the model the views (the strips, screen readers) watch: it knows nothing of pixels, and what it
// does to the list it announces to its observers, never to the bar window.
#pragma once
#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/browser_entry.h"
#include "app/browser_windows.h"
#include "app/window_icons.h"
#include "core/pending_windows.h"
#include "core/shell_decision.h"
#include "win/monitors.h"

namespace app {

class BrowserTracker final : private IconAnswers {
  public:
    explicit BrowserTracker(const WindowReader& reader = systemWindowReader())
        : reader_(reader), icons_(*this) {}

    // The bar window: its timers run the pending checks and the auto-hide.
    void attach(HWND bar) noexcept { bar_ = bar; }
    void subscribe(BrowserListObserver& observer) { observers_.push_back(&observer); }
    void unsubscribe(BrowserListObserver& observer) {
        observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
    }
    // Where the taskbar keeps no tab control for the hook, every tracked window's button leaves it through
    // the task-list object, else only today's browsers' (the hook knows only the classic classes).
    void setUsesTabControl(bool uses) noexcept { usesTabControl_ = uses; }

    const BrowserWindowList& list() const noexcept { return list_; }
    HWND active() const noexcept { return active_; }
    void setActive(HWND window);

    void Enumerate();
    // Whether any view shows windows by their monitor, and the monitors there are now (every one, with a bar
    // or not). Where no view does, a window's monitor is never read: asking the system for it costs about
    // what the rest of an activation does.
    void followMonitors(bool follow, const std::vector<win::Monitor>& monitors = {});
    // Looks again at the monitor a listed window is on (after it was moved, minimised or restored) and
    // announces a change; every listed window's for a null one (the monitors changed).
    void recheckMonitor(HWND window);
    // The handler's answer to the shell event, the window it listed, if any (the bar may come back from the
    // tray for it before placeArrival() places it), and the window that began to call for attention.
    struct EventResult {
        LRESULT answer = 0;
        HWND arrived = nullptr;
        HWND calling = nullptr;
    };
    EventResult HandleShellEvent(HWND window, LPARAM code);
    void placeArrival(HWND window);
    // One window, or every window for a null one, by the placement setting.
    void Place(HWND window);
    void MinimiseAll();
    void RestoreAll();
    void CloseAll();
    void Activate(int index);
    // The user's own order: the entry at `from` moves to `to` for the rest of the session.
    void moveEntry(int from, int to);
    void takeButtonsOff();
    // After "Show window icons" changed: every window's icon is looked for, or every icon let go.
    void readIcons();
    // The shell hid or showed the window (a change of virtual desktop): its entries read their cloaked state
    // again, or a window of today's browsers not listed while hidden is listed now. Null reads every entry's
    // again, for events that were not followed.
    void recheckCloaked(HWND window);
    // Places the waiting windows that have been shown since and lists those of today's browsers that have
    // become ready (returned, for placeArrival()); drops those gone or waited for too long.
    std::vector<HWND> recheckPending();

  private:
    void list(HWND window, core::WindowFacts& facts);
    void unlist(HWND window);
    void retitle(HWND window, core::WindowFacts& facts);
    // With withStandIn (icons just turned on) the window shows its stand-in at once; every window that can be
    // asked asks its program, which may answer later or never.
    void readIcon(HWND window, core::WindowFacts& facts, bool withStandIn);
    void askIcon(HWND window, ULONG_PTR request);
    void iconAnswered(HWND window, ULONG_PTR request, HICON icon) override;
    // Shows the class's or the program file's icon (or none); true when the entry changed.
    bool showStandIn(EntryIcon& icon, const WindowIcons::StandIn& standIn);
    // Changes every entry of the window that `change` changes (it says whether it did), announcing each;
    // true when any changed.
    template <class Change> bool changeEntries(HWND window, Change change);
    void setCloaked(HWND window, bool cloaked);
    // Marks every entry of the window; true when any of them changed.
    bool setAttention(HWND window, bool calling);
    bool usesTaskbarList(core::WindowFacts& facts) const;
    void placeWindow(HWND window);
    // These two only under Place(), which has asked the placement setting.
    void placeWhenShown(HWND window);
    void holdUntilShown(HWND window);
    // Looks at a window again soon (and again, for a while), whatever the placement setting.
    void watchPending(HWND window);
    void dropPending(HWND window);
    HMONITOR monitorOf(HWND window) const;
    template <class Announce> void announce(Announce&& call) {
        for (BrowserListObserver* observer : observers_)
            call(*observer);
    }

    const WindowReader& reader_;
    std::vector<BrowserListObserver*> observers_;
    HWND bar_ = nullptr;
    BrowserWindowList list_;
    HWND active_ = nullptr;
    bool usesTabControl_ = false;
    bool followMonitors_ = true;
    std::vector<HMONITOR> monitorHandles_;
    std::vector<core::Rect> monitorRects_;
    // Browser windows reported before their program showed them, to be placed once shown.
    core::PendingWindows<HWND> pending_;
    WindowIcons icons_;
};

} // namespace app
