// The bar at its monitor's DPI: the stored sizes are 96-DPI units, scaled again whenever the DPI changes.
#include "app/app.h"
#include "app/bar_window.h"
#include "app/platform_seams.h"
#include "core/dpi_scale.h"

namespace app {

int BarWindow::ownDpi() const {
    // Until the bars are made the window stands on the monitor it was created on.
    HMONITOR monitor = shell_.appBar.monitor();
    return monitorDpi(monitor ? monitor : MonitorFromWindow(hwnd(), MONITOR_DEFAULTTOPRIMARY));
}

void BarWindow::applyDpi(int dpi) {
    if (!core::isSaneDpi(dpi) || dpi == barDpi()) return;
    setBarDpi(dpi);
    strip_.setDpi(barDpi());
    ownButtons_.scale(barDpi());
    // Docked, the shell is asked for the new height; in the tray the bar takes it when it comes back.
    if (IsWindowVisible(hwnd())) positionBar();
    RECT client{};
    GetClientRect(hwnd(), &client);
    onSize(client.right);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT BarWindow::onDpiChanged(LPARAM lParam) {
    // The suggested rectangle keeps the window's place for a floating window; a docked bar spans its edge and
    // takes the new height through the shell instead.
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    if (!IsWindowVisible(hwnd()) && suggested)
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The monitor's own DPI, not the message's: what the monitor really has.
    applyDpi(ownDpi());
    return 0;
}

void BarWindow::onDisplayChange() {
    // Monitors may have come or gone, or changed their size: the bars are made again for those there now.
    makeBars(IsWindowVisible(hwnd()) != 0);
    // A tool window is not always told about a new DPI: a display change is the moment to look.
    applyDpi(ownDpi());
    if (IsWindowVisible(hwnd())) positionBar();
}

} // namespace app
