// The bar: a borderless topmost tool window docked as an appbar along the top or bottom screen edge.
// It receives every message the program's other pieces send (shell events, tray, timers, hot keys,
// HTTP replies). The object owns itself: it is deleted after its window is gone.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/bar_accessibility.h"
#include "app/browser_list.h"
#include "controls/hover_button.h"
#include "core/button_click.h"
#include "core/pending_windows.h"
#include "core/button_layout.h"
#include "message/message_fetch.h"
#include "win/handle.h"
#include "win/window.h"

namespace app {

// Command, timer and hot-key ids of the bar.
constexpr int ID_BAR_CLOSE_RIGHT = 218;
constexpr int ID_BAR_CLOSE_LEFT = 219;
constexpr int ID_BAR_HIDE_RIGHT = 230;
constexpr int ID_BAR_HIDE_LEFT = 231;
constexpr int ID_BAR_NEW_BROWSER = 245;
constexpr int HOTKEY_ID_HIDE = 240;
constexpr int HOTKEY_ID_NEW = 241;
constexpr UINT_PTR AUTOHIDE_TIMER_ID = 32768;
constexpr UINT_PTR HOLD_TIMER_ID = 32769;
// Runs only while a reported browser window waits to be shown before it is placed, or (today's browsers)
// to become one the bar tracks.
constexpr UINT_PTR PENDING_TIMER_ID = 32772;
constexpr UINT TRAY_ICON_ID = 32771;
constexpr int BAR_WINDOW_ID = 32770;
constexpr int ID_MENU_PREFERENCES = 131;

class BarWindow : public win::Window {
  public:
    BarWindow() = default;
    ~BarWindow() override = default;

    // Registers the bar's class and creates the hidden bar window; set-up runs in WM_CREATE.
    virtual bool Create(const RECT& rect, HWND parent);

    void dockBar();
    void undockBar();
    void positionBar();
    void exitProgram();
    // Runs the preferences dialog modally (preferences_host.cpp).
    void showPreferences();

    // Relays queued mouse messages for the bar and its children to the tool tip control.
    void preTranslateMessage(const MSG& msg);

    HWND toolTipWindow() const noexcept { return toolTips_; }
    // The answer to WM_BAR_WORKCOUNT.
    LRESULT workCount(WPARAM which) const;
    // What a plain click on a browser button (0-based, valid) does, and doing it: for assistive technology.
    core::LeftAction plainClickAction(int index) const;
    void pressBrowserButton(int index);
    // Tells listeners that the buttons of these windows (either may be null) changed their pressed state.
    void notifyActiveChange(HWND previous, HWND now);

    // Browser window tracking (bar_tracking.cpp).
    void Enumerate();
    LRESULT HandleShellEvent(HWND window, LPARAM code);
    int FindEntry(HWND window) const;
    void Place(HWND window);
    void MinimiseAll();
    void RestoreAll();
    void CloseAll();
    void Activate(int index);
    // Places the waiting windows that have been shown since and lists those of today's browsers that have
    // become ready; drops those gone or waited for too long.
    void recheckPending();

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

    // Fields other parts of the bar read and write.
    win::Icon closeGlyphIcon;
    win::Icon largeIcon;
    win::Icon smallIcon;
    BrowserWindowList browserList;
    HWND activeBrowser = nullptr;
    HWND zOrderAnchor = nullptr;
    int lastPreferencesPage = 0;
    controls::CHoverButton newBrowserButton;
    controls::CHoverButton closeButtonRight;
    controls::CHoverButton hideButtonRight;
    controls::CHoverButton closeButtonLeft;
    controls::CHoverButton hideButtonLeft;
    // The server message: cvil.dll and its users, owned jointly with the worker so that a worker that
    // outlives the bar never touches freed memory; the worker itself, released (not joined) at the end.
    std::shared_ptr<message::HttpLibraryShare> httpLibrary = std::make_shared<message::HttpLibraryShare>();
    std::unique_ptr<message::MessageFetch> messageThread;
    // The replies handed out to the worker: the only values a 1028 is read through.
    std::shared_ptr<message::ReplyRegistry> replies = std::make_shared<message::ReplyRegistry>();

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onFinalMessage() override;

  private:
    LRESULT onCreate();
    void onDestroy();
    void onSize(int cx);
    LRESULT onAppBarNotify(WPARAM code, LPARAM param);
    void onTaskbarCreated();
    void onCommand(WPARAM wParam);
    void createToolTips();
    void registerHotKeys();
    void loadIcons();

    // Browser window tracking (bar_tracking.cpp).
    void onWindowCreated(HWND window);
    LRESULT onWindowDestroyed(HWND window);
    void placeWindow(HWND window);
    void placeWhenShown(HWND window);
    void holdUntilShown(HWND window);
    void dropPending(HWND window);
    void placeAll();
    void addBrowserTool(HWND window);
    void deleteBrowserTool(HWND window);
    void addBrowserTools();
    void onAutoHideTimer();
    // Whether a shell event is about a listed window or one to list; watches the windows of today's browsers
    // that are not ready yet.
    bool concernsBar(HWND window, LPARAM code);
    // Looks at a window again soon (and again, for a while), whatever the placement setting.
    void watchPending(HWND window);
    // Whose buttons leave the taskbar through the task-list object: every tracked window's where the
    // taskbar keeps no tab control for the hook, else only today's browsers' (the hook knows only the
    // classic classes).
    bool usesTaskbarList(HWND window) const;
    void takeButtonsOff();

    // Browser buttons (bar_buttons.cpp).
    void onPaint();
    void drawStrip(HDC dc, const RECT& client, const std::vector<RECT>& rects);
    void layOutButtons(const RECT& client);
    HDC backBuffer(HDC screen, const RECT& client);
    void paintButton(HDC dc, const BrowserEntry& entry);
    void moveBrowserTool(const BrowserEntry& entry);
    void invalidateButton(HWND window);
    void invalidateEntry(const BrowserEntry& entry);
    void setActiveBrowser(HWND window);
    void onLeftButtonDown(POINT p, WPARAM keys);
    void onRightButtonDown(POINT p);
    void runLeftAction(int index, core::LeftAction action);
    LRESULT onNotify(const NMHDR* header);

    // The monitor's DPI (bar_dpi.cpp): every size is scaled again when it changes.
    void applyDpi(int dpi);
    LRESULT onDpiChanged(WPARAM wParam, LPARAM lParam);
    void onDisplayChange();
    void loadCloseGlyph();
    // A 96-DPI size at the bar's DPI.
    int scaled(int size) const;

    // The bar's own buttons (bar_command_buttons.cpp).
    void createOwnButtons();
    void scaleOwnButtons();
    bool relayToOwnButton(const MSG& msg);
    // Tray, hot keys and timers (bar_tray.cpp).
    LRESULT onTrayNotify(LPARAM mouseMessage);
    LRESULT onHotKey(WPARAM id);
    void onTimer(UINT_PTR id);
    void toggleTray();
    // Menu commands (bar_menu.cpp); false for a command that is not the menu's.
    bool onMenuCommand(int id);

    HWND toolTips_ = nullptr;
    BarAccessibility accessibility_{*this};
    // The text of the browser tool tip being shown.
    std::wstring tipText_;
    UINT taskbarCreatedMessage_ = 0;
    bool usesTabControl_ = false;
    // Browser windows reported before their program showed them, to be placed once shown.
    core::PendingWindows<HWND> pending_;
    // The layout of the last paint, and the list change and client size it was made for.
    core::ButtonRow row_;
    std::uint64_t rowChanges_ = ~std::uint64_t{0};
    RECT rowClient_{};
    // The strip's off-screen copy; the bitmap outlives its selection in the DC.
    win::Bitmap bufferBitmap_;
    win::Handle<win::WinapiTraits<HDC, DeleteDC>> bufferDc_;
    SIZE bufferSize_{};
    struct WorkCounts {
        std::uint64_t toolTipMessages = 0;
        std::uint64_t buttonsPainted = 0;
        std::uint64_t paintMicroseconds = 0;
    } work_;
};

// Called by the bar's final message so the message loop stops relaying to it.
void barDestroyed(BarWindow* bar);

} // namespace app
