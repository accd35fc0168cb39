// The bar at its monitor's DPI: the stored sizes are 96-DPI units, scaled again whenever the DPI changes.
#include "app/app.h"
#include "app/bar_window.h"
#include "core/dpi_scale.h"
#include "win/dpi.h"

namespace app {

void BarWindow::applyDpi(int dpi) {
    if (!core::isSaneDpi(dpi) || dpi == barDpi()) return;
    setBarDpi(dpi);
    strip_.loadCloseGlyph(barDpi());
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
    // The window's own DPI, not the message's: what the monitor really has.
    applyDpi(win::windowDpi(hwnd()));
    return 0;
}

void BarWindow::onDisplayChange() {
    // Monitors may have come or gone, or changed their size: the bars are made again for those there now.
    makeBars(IsWindowVisible(hwnd()) != 0);
    // A tool window is not always told about a new DPI: a display change is the moment to look.
    applyDpi(win::windowDpi(hwnd()));
    if (IsWindowVisible(hwnd())) positionBar();
}

} // namespace app
