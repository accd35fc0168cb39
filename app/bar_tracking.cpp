// The bar's side of tracking: the tracker decides and does; a window it listed may bring the bar back first.
#include "app/app.h"
#include "app/bar_window.h"

namespace app {

LRESULT BarWindow::onShellEvent(HWND window, LPARAM code) {
    const BrowserTracker::EventResult result = tracker_.HandleShellEvent(window, code);
    if (result.arrived) welcomeBrowser(result.arrived);
    // A window calling for attention is shown to the user: the bar leaves the tray for it as for a new one.
    if (result.calling && settings().autoRestoreFromTray && !IsWindowVisible(hwnd())) restoreFromTray();
    return result.answer;
}

void BarWindow::welcomeBrowser(HWND window) {
    // Restoring the bar restores every listed window: the new one is placed after that, not undone by it.
    if (settings().autoRestoreFromTray && !IsWindowVisible(hwnd())) restoreFromTray();
    tracker_.placeArrival(window);
}

void BarWindow::followDesktops() {
    if (settings().currentDesktopOnly) {
        // The events missed while the hook was off: every window's state is read again.
        shell_.cloakEvents.install(hwnd());
        tracker_.recheckCloaked(nullptr);
    } else {
        shell_.cloakEvents.release();
    }
    strip_.filterChanged();
    accessibility_.filterChanged();
    for (OtherBar* bar : otherBars_)
        bar->filterChanged();
}

} // namespace app
