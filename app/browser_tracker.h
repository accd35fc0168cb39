// The browser windows the bar tracks: the list, filled once at start-up and then kept by the shell's window
// events; which window is active; placing the windows, also those reported before their program showed them.
#pragma once
#include <windows.h>

#include "app/browser_entry.h"
#include "core/pending_windows.h"

namespace app {

class BrowserTracker {
  public:
    // What the rest of the bar must hear of the list's changes.
    class Listener {
      public:
        virtual void browserListed(int index, HWND window) = 0;
        // Called before the entry goes.
        virtual void browserUnlisting(int index, HWND window) = 0;
        virtual void browserRetitled(int index) = 0;
        virtual void activeBrowserChanged(HWND previous, HWND now) = 0;
        // A new window was listed and its placement is about to be decided.
        virtual void browserArriving() = 0;

      protected:
        ~Listener() = default;
    };

    explicit BrowserTracker(Listener& listener) : listener_(listener) {}

    // The bar window: its timers run the pending checks and the auto-hide, and it is repainted on changes.
    void attach(HWND bar) noexcept { bar_ = bar; }
    // Where the taskbar keeps no tab control for the hook, every tracked window's button leaves it through
    // the task-list object, else only today's browsers' (the hook knows only the classic classes).
    void setUsesTabControl(bool uses) noexcept { usesTabControl_ = uses; }

    BrowserWindowList& list() noexcept { return list_; }
    const BrowserWindowList& list() const noexcept { return list_; }
    HWND active() const noexcept { return active_; }
    void setActive(HWND window);

    void enumerate();
    LRESULT handleShellEvent(HWND window, LPARAM code);
    int find(HWND window) const { return list_.find(window); }
    // One window, or every window for a null one, by the placement setting.
    void place(HWND window);
    void minimiseAll();
    void restoreAll();
    void closeAll();
    void activate(int index);
    void takeButtonsOff();
    // Places the waiting windows that have been shown since and lists those of today's browsers that have
    // become ready; drops those gone or waited for too long.
    void recheckPending();

  private:
    // Each takes the window's class name as the event read it.
    void onWindowCreated(HWND window, const char* className);
    LRESULT onWindowDestroyed(HWND window);
    void onWindowRetitled(HWND window, const char* className);
    // Whether a shell event is about a listed window or one to list; watches the windows of today's browsers
    // that are not ready yet.
    bool concernsBar(HWND window, LPARAM code, const char* className);
    bool usesTaskbarList(HWND window, const char* className) const;
    void placeWindow(HWND window);
    // These two only under place(), which has asked the placement setting.
    void placeWhenShown(HWND window);
    void holdUntilShown(HWND window);
    // Looks at a window again soon (and again, for a while), whatever the placement setting.
    void watchPending(HWND window);
    void dropPending(HWND window);
    void placeAll();

    Listener& listener_;
    HWND bar_ = nullptr;
    BrowserWindowList list_;
    HWND active_ = nullptr;
    bool usesTabControl_ = false;
    // Browser windows reported before their program showed them, to be placed once shown.
    core::PendingWindows<HWND> pending_;
};

} // namespace app
