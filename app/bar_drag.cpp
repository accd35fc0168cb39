// Dragging a browser button to another place: the press holds the capture, a move past the system's drag
// rectangle starts the drag, the strip draws the others making room, and the release moves the entry in the
// model. The press itself has already done what a click does; the drop activates nothing.
#include "app/app.h"
#include "app/bar_window.h"
#include "core/button_drag.h"

#include <windowsx.h>

namespace app {

namespace {
// The bar being dragged on; the hook has no other way to reach it. One thread, one drag at a time.
HWND g_draggingBar = nullptr;

LRESULT CALLBACK escapeDuringDrag(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && message == WM_KEYDOWN && g_draggingBar) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        // Taken: the window that has the keyboard would otherwise act on it as well.
        if (key->vkCode == VK_ESCAPE) {
            PostMessageA(g_draggingBar, WM_CANCELMODE, 0, 0);
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}
} // namespace

void BarWindow::holdPress(int index, POINT at) {
    const BrowserWindowList& list = tracker_.list();
    if (!list.validIndex(index)) return;
    cancelDrag();
    held_.window = list.entries[static_cast<std::size_t>(index)].window;
    held_.pressed = at;
    SetCapture(hwnd());
}

LRESULT BarWindow::onMouseMove(WPARAM keys, LPARAM at) {
    if (!held_.window) return 0;
    const POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    const int from = tracker_.list().find(held_.window);
    // Released where the bar did not hear it: the press is over.
    if (from < 0 || !(keys & MK_LBUTTON)) return cancelDrag(), 0;
    if (!held_.dragging) {
        if (!core::dragStarted(p.x - held_.pressed.x, p.y - held_.pressed.y, GetSystemMetrics(SM_CXDRAG),
                               GetSystemMetrics(SM_CYDRAG)))
            return 0;
        held_.dragging = true;
        // The activation the press caused may have cost the capture already: the drag takes it again.
        if (GetCapture() != hwnd()) SetCapture(hwnd());
        g_draggingBar = hwnd();
        // Without the hook Escape still ends nothing, but the drop and the capture's loss still work.
        held_.escape.reset(SetWindowsHookExA(WH_KEYBOARD_LL, escapeDuringDrag, instance(), 0));
    }
    held_.to = core::dropPlace(strip_.spans(), from, p.x);
    strip_.showDrag(from, held_.to);
    return 0;
}

LRESULT BarWindow::onLeftButtonUp() {
    if (!held_.window) return 0;
    // Taken out first: letting the capture go below brings WM_CAPTURECHANGED, which would put it back.
    const HWND window = held_.window;
    const bool dropped = held_.dragging;
    const int to = held_.to;
    cancelDrag();
    if (!dropped) return 0;
    const int from = tracker_.list().find(window);
    if (from >= 0 && to >= 0) tracker_.moveEntry(from, to);
    return 0;
}

void BarWindow::onCaptureLost() {
    // Only a drag is put back: a press that has not moved yet goes on, as the pointer over the bar still
    // reaches it, and takes the capture when it becomes a drag.
    if (held_.dragging) cancelDrag();
}

void BarWindow::cancelDrag() {
    if (!held_.window) return;
    held_ = HeldButton{};
    g_draggingBar = nullptr;
    strip_.showDrag(-1, -1);
    if (GetCapture() == hwnd()) ReleaseCapture();
}

} // namespace app
