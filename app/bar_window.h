// The bar: a borderless topmost tool window docked as an appbar along the top or bottom screen edge.
// It receives every message the program's other pieces send (shell events, tray, timers, hot keys,
// HTTP replies) and hands each to the part that does the work. The object owns itself: it is deleted after
// its window is gone.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/bar_accessibility.h"
#include "app/bar_ids.h"
#include "app/browser_tracker.h"
#include "app/button_strip.h"
#include "app/move_watch.h"
#include "app/other_bar.h"
#include "app/own_buttons.h"
#include "app/shell_registrations.h"
#include "core/bar_commands.h"
#include "core/bar_keys.h"
#include "core/button_click.h"
#include "message/message_fetch.h"
#include "win/handle.h"
#include "win/window.h"

namespace app {

class BarWindow : public win::Window {
  public:
    BarWindow() = default;
    ~BarWindow() override = default;

    // Registers the bar's class and creates the hidden bar window; set-up runs in WM_CREATE.
    virtual bool Create(const RECT& rect, HWND parent);
    // Relays queued mouse messages for the bar and its children to the tool tip controls.
    void preTranslateMessage(const MSG& msg);
    // Asks the shell again for the bar's place (the preferences, after a change of height).
    void positionBar();
    // Makes the bars again by the settings (the preferences changed which monitors have one).
    void remakeBars();
    // Every bar draws again (a colour or the font changed).
    void repaintBars();
    // Gives the own buttons' tool tips and the tray tip the texts of the interface language now chosen.
    void retitle();

    // Read only, for the screen reader's view of the bar (bar_accessibility.cpp).
    const ButtonStrip& strip() const noexcept { return strip_; }
    const OwnButtons& ownButtons() const noexcept { return ownButtons_; }
    HWND toolTipWindow() const noexcept { return strip_.toolTipWindow(); }
    // What a plain click on a browser button (0-based, valid) does, and doing it: for assistive technology.
    core::LeftAction plainClickAction(int index) const;
    void pressBrowserButton(int index);
    // Presses on a strip of this bar or of a bar on another monitor (bar_buttons.cpp): window is the one the
    // strip is drawn in, at the point of the press in its client coordinates.
    LRESULT pressOnStrip(const ButtonStrip& strip, HWND window, WPARAM keys, LPARAM at);
    LRESULT rightPressOnStrip(const ButtonStrip& strip, HWND window, LPARAM at);
    // Whether windows of the desktops not in view have buttons changed: the cloak events are followed or
    // not, and the views show the windows again by the setting.
    void followDesktops();
    // The place the keyboard is on while the bar holds it (browser buttons first, then the own buttons made,
    // as the screen reader counts them); -1 when the bar does not hold the keyboard.
    int keyboardPlace() const;

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onFinalMessage() override;

  private:
    // The window's life (bar_window.cpp).
    LRESULT onCreate(UINT msg, WPARAM wParam, LPARAM lParam);
    bool installHooks();
    LRESULT onDestroy(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onResized(UINT msg, WPARAM wParam, LPARAM lParam);
    void onSize(int cx);
    LRESULT onWindowPosChanged(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onActivate(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onGetObject(UINT msg, WPARAM wParam, LPARAM lParam);
    void loadIcons();

    // The shell: docking, and a new taskbar.
    void dockBar();
    void undockBar();
    LRESULT onAppBarNotify(WPARAM code, LPARAM param);
    void onTaskbarCreated();

    // Tracking (bar_tracking.cpp): the tracker decides; the bar comes back from the tray for a new window.
    LRESULT onShellEvent(HWND window, LPARAM code);
    void welcomeBrowser(HWND window);

    // Presses on the browser buttons (bar_buttons.cpp).
    LRESULT onLeftButtonDown(WPARAM keys, LPARAM at);
    LRESULT onLeftDoubleClick(LPARAM at);
    LRESULT onRightButtonDown(LPARAM at);
    LRESULT onMiddleButtonDown(LPARAM at);
    LRESULT onMiddleButtonUp(LPARAM at);
    // The window of the browser button under a point of the client area, if any.
    HWND browserAt(LPARAM at) const;
    void runLeftAction(int index, core::LeftAction action);

    // A bar on each monitor the settings name (bar_monitors.cpp): this one on the first, the others made
    // again whenever the monitors change; shown (docked) or kept hidden in the tray.
    void makeBars(bool shown);
    void closeOtherBars();
    void showOtherBars(bool shown);
    // Dragging a browser button to another place (bar_drag.cpp). The press that may become a drag holds
    // the capture; Escape, or losing the capture, puts the button back.
    void holdPress(int index, POINT at);
    LRESULT onMouseMove(WPARAM keys, LPARAM at);
    void onCaptureLost();
    LRESULT onLeftButtonUp();
    void cancelDrag();

    // The bar under the keyboard (bar_keyboard.cpp): the focus hot key brings it, Escape or another
    // window's activation ends it.
    void takeKeyboard();
    LRESULT onKeyDown(UINT msg, WPARAM virtualKey, LPARAM lParam);
    void focusPlace(int place);
    void actOnFocus(core::BarKey key, int place);
    void giveKeyboardBack();
    void endKeyboard();

    // The monitor's DPI (bar_dpi.cpp): every size is scaled again when it changes.
    int ownDpi() const;
    void applyDpi(int dpi);
    LRESULT onDpiChanged(LPARAM lParam);
    void onDisplayChange();

    // The Windows theme (bar_theme.cpp): the colours follow a change of it at once.
    void onThemeMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void applyThemeToToolTips();

    // Tray, hot keys and timers (bar_tray.cpp).
    void addTrayIcon();
    void hideToTray();
    void restoreFromTray();
    void toggleTray();
    LRESULT onTrayNotify(LPARAM mouseMessage);
    LRESULT onHotKey(WPARAM id);
    void onTimer(UINT_PTR id);

    // The bar's menu and user commands (bar_menu.cpp); onMenuCommand is false for a command not the menu's.
    LRESULT onCommand(WPARAM wParam);
    bool onMenuCommand(int id);
    void showBarMenu(POINT screenPoint);
    // Just right of the New browser button, a little below the bar's top, in screen coordinates.
    POINT holdMenuPoint() const;
    // Lets other programs' messages in when elevated, and tells a 32-bit bar on 64-bit Windows what it
    // misses.
    void startPlatformNotices();
    void launchBrowser(std::string commandLine);
    void exitProgram();
    void showAbout();
    // Runs the preferences dialog modally (bar_preferences_host.cpp).
    void showPreferences();

    win::Icon largeIcon_;
    win::Icon smallIcon_;
    // What the bar holds in the shell; given back by the teardown or, should the program die, the crash
    // guard.
    ShellRegistrations shell_;
    // The model and its views: the strip and the screen reader's view subscribe to the tracker.
    BrowserTracker tracker_;
    ButtonStrip strip_{tracker_};
    OwnButtons ownButtons_;
    // The bars on the other monitors: each deletes itself after its window is gone.
    std::vector<OtherBar*> otherBars_;
    MoveWatch moveWatch_;
    BarAccessibility accessibility_{*this, tracker_, strip_};
    UINT taskbarCreatedMessage_ = 0;
    // The press on a browser button while the button is held: its window (the entry may move meanwhile),
    // where it was pressed, and once it is dragged, the place it would be dropped at.
    struct HeldButton {
        HWND window = nullptr;
        POINT pressed{};
        bool dragging = false;
        int to = -1;
        // Escape goes to the window that has the keyboard, not to the bar: heard while the drag lasts.
        win::Hook escape;
    } held_;
    struct Keyboard {
        bool held = false;
        // The own button the focus is on (the index among those made), -1 on a browser button.
        int own = -1;
        HWND giveBackTo = nullptr;
    } keyboard_;
    // The bitness notice while it is shown (owned by the bar, so it goes with it).
    HWND notice_ = nullptr;
    int lastPreferencesPage_ = 0;
    // The window whose button a middle press began on: a release on the same button closes it.
    HWND middlePressed_ = nullptr;
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
