// The bar's own picture buttons: New browser window near the left end, Close and Hide at both ends.
#include "app/bar_window.h"

#include "resources/resource.h"

namespace app {

namespace {
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;

struct OwnButton {
    controls::CHoverButton BarWindow::*button;
    int id;
    const char* caption;
    WORD strip;
    const char* tip;
    RECT rect;
};

// In creation order. Only New browser window has a place of its own; WM_SIZE places the pairs.
const OwnButton kOwnButtons[] = {
    {&BarWindow::newBrowserButton, ID_BAR_NEW_BROWSER, "New browser window.\nHold for menu.", IDB_NEW_BROWSER_STRIP,
     "New browser window", {32, 3, 50, 21}},
    {&BarWindow::closeButtonRight, ID_BAR_CLOSE_RIGHT, "Close", IDB_CLOSE_STRIP, "Close", {0, 0, 0, 0}},
    {&BarWindow::closeButtonLeft, ID_BAR_CLOSE_LEFT, "Close", IDB_CLOSE_STRIP, "Close", {0, 0, 0, 0}},
    {&BarWindow::hideButtonRight, ID_BAR_HIDE_RIGHT, "Hide", IDB_HIDE_STRIP, "Hide in tray", {0, 0, 0, 0}},
    {&BarWindow::hideButtonLeft, ID_BAR_HIDE_LEFT, "Hide", IDB_HIDE_STRIP, "Hide in tray", {0, 0, 0, 0}},
};
} // namespace

void BarWindow::createOwnButtons() {
    for (const OwnButton& b : kOwnButtons) {
        controls::CHoverButton& button = this->*b.button;
        if (!button.Create(b.caption, kButtonStyle, b.rect, hwnd(), b.id)) continue;
        // Holding New browser window opens the bar's menu instead of waiting for the click.
        if (b.id == ID_BAR_NEW_BROWSER) button.m_bMenuOnHold = TRUE;
        button.SetStripBitmap(b.strip);
        button.SetToolTipText(b.tip, TRUE);
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
