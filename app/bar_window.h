// The bar: a borderless topmost tool window docked as an appbar along the top or bottom screen edge.
// It receives every message the program's other pieces send (shell events, tray, timers, hot keys,
// HTTP replies) and hands each to the part that does the work. The object owns itself: it is deleted after
// its window is gone.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/bar_accessibility.h"
#include "app/bar_ids.h"
#include "app/browser_tracker.h"
#include "app/button_strip.h"
#include "app/own_buttons.h"
#include "app/shell_registrations.h"
#include "core/bar_commands.h"
#include "core/button_click.h"
#include "message/message_fetch.h"
#include "win/handle.h"
#include "win/window.h"

namespace app {

class BarWindow : public win::Window, private BrowserTracker::Listener {
  public:
    BarWindow() = default;
    ~BarWindow() override = default;

    // Registers the bar's class and creates the hidden bar window; set-up runs in WM_CREATE.
    virtual bool Create(const RECT& rect, HWND parent);

    void dockBar();
    void undockBar();
    void positionBar();
    void exitProgram();
    // Runs the preferences dialog modally (bar_preferences_host.cpp).
    void showPreferences();
    // Gives the own buttons' tool tips and the tray tip the texts of the interface language now chosen.
    void retitle();

    // Relays queued mouse messages for the bar and its children to the tool tip controls.
    void preTranslateMessage(const MSG& msg);

    HWND toolTipWindow() const noexcept { return strip_.toolTipWindow(); }
    // For the screen reader's view of the bar (bar_accessibility.cpp).
    const BrowserWindowList& browsers() const noexcept { return tracker_.list(); }
    HWND activeBrowser() const noexcept { return tracker_.active(); }
    const OwnButtons& ownButtons() const noexcept { return ownButtons_; }
    // What a plain click on a browser button (0-based, valid) does, and doing it: for assistive technology.
    core::LeftAction plainClickAction(int index) const;
    void pressBrowserButton(int index);

    // Browser window tracking (browser_tracker.cpp does the work).
    void Enumerate();
    LRESULT HandleShellEvent(HWND window, LPARAM code);
    int FindEntry(HWND window) const;
    void Place(HWND window);
    void MinimiseAll();
    void RestoreAll();
    void CloseAll();
    void Activate(int index);

    // The tray side (bar_tray.cpp): the tray icon, hiding the bar into it and bringing it back.
    void addTrayIcon();
    void removeTrayIcon();
    void hideToTray();
    void restoreFromTray();
    // The bar's menu and user commands (bar_menu.cpp).
    void showBarMenu(POINT screenPoint);
    void launchBrowser(std::string commandLine);
    void showAbout();
    UINT taskbarCreatedMessage() const noexcept { return taskbarCreatedMessage_; }

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onFinalMessage() override;

  private:
    // The window procedure's later steps: the program's own and the shell's notifications, then the strip's
    // paint, mouse and control messages.
    LRESULT notificationMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT stripMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onCreate();
    bool installHooks();
    void onDestroy();
    void onSize(int cx);
    LRESULT onAppBarNotify(WPARAM code, LPARAM param);
    void onTaskbarCreated();
    void onCommand(WPARAM wParam);
    void loadIcons();

    // What the tracker tells (bar_tracking.cpp).
    void browserListed(int index, HWND window) override;
    void browserUnlisting(int index, HWND window) override;
    void browserRetitled(int index) override;
    void activeBrowserChanged(HWND previous, HWND now) override;
    void browserArriving() override;
    void onAutoHideTimer();

    // Presses on the browser buttons (bar_buttons.cpp).
    void onLeftButtonDown(POINT p, WPARAM keys);
    void onRightButtonDown(POINT p);
    void runLeftAction(int index, core::LeftAction action);

    // The monitor's DPI (bar_dpi.cpp): every size is scaled again when it changes.
    void applyDpi(int dpi);
    LRESULT onDpiChanged(WPARAM wParam, LPARAM lParam);
    void onDisplayChange();

    // Tray, hot keys and timers (bar_tray.cpp).
    LRESULT onTrayNotify(LPARAM mouseMessage);
    LRESULT onHotKey(WPARAM id);
    void onTimer(UINT_PTR id);
    void toggleTray();
    // Menu commands (bar_menu.cpp); false for a command that is not the menu's.
    bool onMenuCommand(int id);

    win::Icon largeIcon_;
    win::Icon smallIcon_;
    // What the bar holds in the shell; given back by the teardown or, should the program die, the crash
    // guard.
    ShellRegistrations shell_;
    BrowserTracker tracker_{*this};
    ButtonStrip strip_{tracker_};
    OwnButtons ownButtons_;
    BarAccessibility accessibility_{*this};
    UINT taskbarCreatedMessage_ = 0;
    int lastPreferencesPage_ = 0;
    // The server message: cvil.dll and its users, owned jointly with the worker so that a worker that
    // outlives the bar never touches freed memory; the worker itself, released (not joined) at the end.
    std::shared_ptr<message::HttpLibraryShare> httpLibrary_ = std::make_shared<message::HttpLibraryShare>();
    std::unique_ptr<message::MessageFetch> messageThread_;
    // The replies handed out to the worker: the only values a 1028 is read through.
    std::shared_ptr<message::ReplyRegistry> replies_ = std::make_shared<message::ReplyRegistry>();
};

// Called by the bar's final message so the message loop stops relaying to it.
void barDestroyed(BarWindow* bar);

} // namespace app
