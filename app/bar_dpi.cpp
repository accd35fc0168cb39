// The bar at its monitor's DPI: the stored sizes are 96-DPI units, scaled again whenever the DPI changes.
#include "app/app.h"
#include "app/bar_window.h"
#include "core/dpi_scale.h"
#include "resources/resource.h"
#include "win/dpi.h"

namespace app {

namespace {
// The close glyph sits in the top-left corner of an icon drawn for each picture scale.
int glyphIconSize(int dpi) {
    return 32 * core::pictureScalePercent(dpi) / 100;
}
} // namespace

int BarWindow::scaled(int size) const {
    return core::scaleForDpi(size, barDpi());
}

void BarWindow::loadCloseGlyph() {
    const int size = glyphIconSize(barDpi());
    closeGlyphIcon.reset(static_cast<HICON>(
        LoadImageW(instance(), MAKEINTRESOURCEW(IDI_CLOSE_GLYPH), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void BarWindow::applyDpi(int dpi) {
    if (dpi <= 0 || dpi == barDpi()) return;
    setBarDpi(dpi);
    loadCloseGlyph();
    scaleOwnButtons();
    // Docked, the shell is asked for the new height; in the tray the bar takes it when it comes back.
    if (IsWindowVisible(hwnd())) positionBar();
    RECT client{};
    GetClientRect(hwnd(), &client);
    onSize(client.right);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT BarWindow::onDpiChanged(WPARAM wParam, LPARAM lParam) {
    // The suggested rectangle keeps the window's place for a floating window; a docked bar spans its edge and
    // takes the new height through the shell instead.
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    if (!IsWindowVisible(hwnd()) && suggested)
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    applyDpi(HIWORD(wParam));
    return 0;
}

void BarWindow::onDisplayChange() {
    // A tool window is not always told about a new DPI: a display change is the moment to look.
    applyDpi(win::windowDpi(hwnd()));
    if (IsWindowVisible(hwnd())) positionBar();
}

} // namespace app
