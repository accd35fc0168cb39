// The bar's own picture buttons: New browser window near the left end, Close and Hide at both ends.
#include "app/bar_window.h"

#include "app/app.h"
#include "core/dpi_scale.h"
#include "resources/resource.h"

namespace app {

namespace {
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;

struct OwnButton {
    controls::CHoverButton BarWindow::*button;
    int id;
    const char* caption;
    WORD strip;
    WORD strip150;
    WORD strip200;
    const char* tip;
    RECT rect;
};

// In creation order. Only New browser window has a place of its own; WM_SIZE places the pairs.
const OwnButton kOwnButtons[] = {
    {&BarWindow::newBrowserButton, ID_BAR_NEW_BROWSER, "New browser window.\nHold for menu.", IDB_NEW_BROWSER_STRIP,
     IDB_NEW_BROWSER_STRIP_150, IDB_NEW_BROWSER_STRIP_200, "New browser window", {32, 3, 50, 21}},
    {&BarWindow::closeButtonRight, ID_BAR_CLOSE_RIGHT, "Close", IDB_CLOSE_STRIP, IDB_CLOSE_STRIP_150, IDB_CLOSE_STRIP_200, "Close", {0, 0, 0, 0}},
    {&BarWindow::closeButtonLeft, ID_BAR_CLOSE_LEFT, "Close", IDB_CLOSE_STRIP, IDB_CLOSE_STRIP_150, IDB_CLOSE_STRIP_200, "Close", {0, 0, 0, 0}},
    {&BarWindow::hideButtonRight, ID_BAR_HIDE_RIGHT, "Hide", IDB_HIDE_STRIP, IDB_HIDE_STRIP_150, IDB_HIDE_STRIP_200, "Hide in tray", {0, 0, 0, 0}},
    {&BarWindow::hideButtonLeft, ID_BAR_HIDE_LEFT, "Hide", IDB_HIDE_STRIP, IDB_HIDE_STRIP_150, IDB_HIDE_STRIP_200, "Hide in tray", {0, 0, 0, 0}},
};
// The pictures are drawn at 100, 150 and 200 %: the one for the DPI, never one stretched up.
WORD stripFor(const OwnButton& b, int dpi) {
    switch (core::pictureScalePercent(dpi)) {
    case 150:
        return b.strip150;
    case 200:
        return b.strip200;
    default:
        return b.strip;
    }
}

RECT scaledRect(const RECT& r, int dpi) {
    return {core::scaleForDpi(r.left, dpi), core::scaleForDpi(r.top, dpi), core::scaleForDpi(r.right, dpi),
            core::scaleForDpi(r.bottom, dpi)};
}
} // namespace

void BarWindow::createOwnButtons() {
    for (const OwnButton& b : kOwnButtons) {
        controls::CHoverButton& button = this->*b.button;
        if (!button.Create(b.caption, kButtonStyle, scaledRect(b.rect, barDpi()), hwnd(), b.id)) continue;
        // Holding New browser window opens the bar's menu instead of waiting for the click.
        if (b.id == ID_BAR_NEW_BROWSER) button.m_bMenuOnHold = TRUE;
        button.SetStripBitmap(stripFor(b, barDpi()));
        button.SetToolTipText(b.tip, TRUE);
    }
}

void BarWindow::scaleOwnButtons() {
    for (const OwnButton& b : kOwnButtons) {
        controls::CHoverButton& button = this->*b.button;
        if (!button.hwnd()) continue;
        const RECT r = scaledRect(b.rect, barDpi());
        SetWindowPos(button.hwnd(), nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        button.SetStripBitmap(stripFor(b, barDpi()));
    }
}

bool BarWindow::relayToOwnButton(const MSG& msg) {
    for (const OwnButton& b : kOwnButtons) {
        controls::CHoverButton& button = this->*b.button;
        if (button.hwnd() && msg.hwnd == button.hwnd()) {
            button.PreTranslateMessage(msg);
            return true;
        }
    }
    return false;
}

} // namespace app
