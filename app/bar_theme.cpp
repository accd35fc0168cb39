// The bar's side of the Windows theme: a change of the app theme, of high contrast or of the system colours
// is drawn at once, tool tips included.
#include "app/app.h"
#include "app/bar_window.h"
#include "win/theme.h"

namespace app {

void BarWindow::onThemeMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!win::themeMayHaveChanged(msg, wParam, lParam)) return;
    readTheme();
    applyThemeToToolTips();
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void BarWindow::applyThemeToToolTips() {
    colourToolTips(strip_.toolTipWindow());
    const core::PartColours colours = barColours();
    ownButtons_.setToolTipColours(colours[core::Part::TipFace], colours[core::Part::TipText]);
}

} // namespace app
