// The bar's side of tracking browser windows: its operations hand over to the tracker, and what the tracker
// reports reaches the buttons, their tool tips and screen readers.
#include "app/app.h"
#include "app/bar_window.h"

namespace app {

void BarWindow::Enumerate() {
    tracker_.enumerate();
}

LRESULT BarWindow::HandleShellEvent(HWND window, LPARAM code) {
    return tracker_.handleShellEvent(window, code);
}

int BarWindow::FindEntry(HWND window) const {
    return tracker_.find(window);
}

void BarWindow::Place(HWND window) {
    tracker_.place(window);
}

void BarWindow::MinimiseAll() {
    tracker_.minimiseAll();
}

void BarWindow::RestoreAll() {
    tracker_.restoreAll();
}

void BarWindow::CloseAll() {
    tracker_.closeAll();
}

void BarWindow::Activate(int index) {
    tracker_.activate(index);
}

void BarWindow::browserListed(int index, HWND window) {
    accessibility_.notifyBrowserButton(EVENT_OBJECT_CREATE, index);
    strip_.addTool(window);
}

void BarWindow::browserUnlisting(int index, HWND window) {
    strip_.deleteTool(window);
    accessibility_.notifyBrowserButton(EVENT_OBJECT_DESTROY, index);
}

void BarWindow::browserRetitled(int index) {
    accessibility_.notifyBrowserButton(EVENT_OBJECT_NAMECHANGE, index);
    strip_.invalidateEntry(tracker_.list().entries[static_cast<size_t>(index)]);
}

void BarWindow::activeBrowserChanged(HWND previous, HWND now) {
    // Listeners hear of both buttons whose pressed state changed.
    for (HWND changed : {previous, now}) {
        if (changed)
            tracker_.list().forEachIndexOf(
                changed, [this](int i) { accessibility_.notifyBrowserButton(EVENT_OBJECT_STATECHANGE, i); });
    }
    // Only the two buttons whose face changes are drawn again.
    if (previous) strip_.invalidateButton(previous);
    if (now) strip_.invalidateButton(now);
}

void BarWindow::browserArriving() {
    if (settings().autoRestoreFromTray && !IsWindowVisible(hwnd())) restoreFromTray();
}

void BarWindow::onAutoHideTimer() {
    hideToTray();
    KillTimer(hwnd(), AUTOHIDE_TIMER_ID);
}

} // namespace app
