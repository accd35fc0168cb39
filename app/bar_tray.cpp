// Hiding the bar into the notification area and bringing it back; the tray icon, hot keys and timers.
// Whether the bar is in the tray is not stored: a hidden bar window is a bar in the tray.
#include "app/bar_window.h"

#include "app/app.h"
#include "core/bar_commands.h"
#include "core/dpi_scale.h"

namespace app {

namespace {
// The hold menu opens this far below the bar's top, in 96-DPI units.
constexpr int kHoldMenuDrop = 2;
} // namespace

POINT BarWindow::holdMenuPoint() const {
    // Taken from where the button really is, so that the menu never opens over the button being held.
    RECT button{};
    if (HWND newBrowser = GetDlgItem(hwnd(), core::ID_BAR_NEW_BROWSER)) {
        GetWindowRect(newBrowser, &button);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&button), 2);
    }
    POINT p{button.right, core::scaleForDpi(kHoldMenuDrop, barDpi())};
    ClientToScreen(hwnd(), &p);
    return p;
}

void BarWindow::addTrayIcon() {
    shell_.trayIcon.add(smallIcon_.get());
}

void BarWindow::hideToTray() {
    giveKeyboardBack();
    addTrayIcon();
    // The desktop's work area is given back while the bar is away, on every monitor, before the bars are
    // seen to go.
    undockBar();
    showOtherBars(false);
    ShowWindow(hwnd(), SW_HIDE);
    tracker_.MinimiseAll();
}

void BarWindow::restoreFromTray() {
    dockBar();
    shell_.trayIcon.release();
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    showOtherBars(true);
    tracker_.RestoreAll();
}

void BarWindow::toggleTray() {
    if (IsWindowVisible(hwnd())) {
        hideToTray();
    } else {
        restoreFromTray();
    }
}

LRESULT BarWindow::onTrayNotify(LPARAM mouseMessage) {
    switch (core::trayAction(static_cast<uint32_t>(mouseMessage))) {
    case core::TrayAction::Restore:
        restoreFromTray();
        break;
    case core::TrayAction::OpenMenu: {
        POINT cursor{};
        GetCursorPos(&cursor);
        showBarMenu(cursor);
        break;
    }
    case core::TrayAction::None:
        break;
    }
    return 0;
}

LRESULT BarWindow::onHotKey(WPARAM id) {
    if (id == HOTKEY_ID_HIDE) {
        toggleTray();
    } else if (id == HOTKEY_ID_NEW) {
        launchBrowser(settings().browserCommand);
    } else if (id == HOTKEY_ID_FOCUS) {
        takeKeyboard();
    }
    return 1;
}

void BarWindow::onTimer(UINT_PTR id) {
    if (id == HOLD_TIMER_ID) {
        // Sent by the New browser button while it is still held; the menu runs inside that call.
        showBarMenu(holdMenuPoint());
    } else if (id == AUTOHIDE_TIMER_ID) {
        hideToTray();
        KillTimer(hwnd(), AUTOHIDE_TIMER_ID);
    } else if (id == PENDING_TIMER_ID) {
        for (HWND arrived : tracker_.recheckPending())
            welcomeBrowser(arrived);
    } else if (id == NOTICE_TIMER_ID) {
        KillTimer(hwnd(), NOTICE_TIMER_ID);
        if (notice_) DestroyWindow(notice_);
        notice_ = nullptr;
    }
}

} // namespace app
