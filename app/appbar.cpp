#include "app/appbar.h"

#include <shellapi.h>

#include "app/app.h"
#include "core/setting_ranges.h"

namespace app {

namespace {
APPBARDATA appBarData(HWND bar) {
    APPBARDATA abd{};
    abd.cbSize = sizeof(abd);
    abd.hWnd = bar;
    return abd;
}
} // namespace

void AppBar::dock(const core::Settings& s, int barHeight) {
    APPBARDATA abd = appBarData(bar_);
    abd.uCallbackMessage = WM_BAR_APPBARNOTIFY;
    SHAppBarMessage(ABM_NEW, &abd);
    InterlockedExchange(&registered_, 1);
    position(s, barHeight);
}

void AppBar::position(const core::Settings& s, int requestedHeight) {
    // Whatever the settings and the DPI ask for, the strip the shell takes from other programs stays sane.
    RECT screen = monitorRect_;
    if (IsRectEmpty(&screen)) screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int barHeight = core::saneStripHeight(requestedHeight, screen.bottom - screen.top);
    APPBARDATA abd = appBarData(bar_);
    abd.uEdge = static_cast<UINT>(s.dockEdge);
    abd.rc.left = screen.left;
    abd.rc.right = screen.right;
    if (s.dockEdge == core::kEdgeBottom) {
        abd.rc.bottom = screen.bottom;
        abd.rc.top = abd.rc.bottom - barHeight;
    } else {
        abd.rc.top = screen.top;
        abd.rc.bottom = screen.top + barHeight;
    }
    SHAppBarMessage(ABM_QUERYPOS, &abd);
    // The shell may have moved the strip clear of others; the bar keeps its own height.
    if (s.dockEdge == core::kEdgeBottom) {
        abd.rc.top = abd.rc.bottom - barHeight;
    } else {
        abd.rc.bottom = abd.rc.top + barHeight;
    }
    SetWindowPos(bar_, HWND_TOPMOST, abd.rc.left, abd.rc.top, abd.rc.right - abd.rc.left, barHeight, 0);
    SHAppBarMessage(ABM_SETPOS, &abd);
}

void AppBar::release() noexcept {
    if (InterlockedExchange(&registered_, 0) == 0) return;
    APPBARDATA abd = appBarData(bar_);
    SHAppBarMessage(ABM_REMOVE, &abd);
}

void AppBar::windowMoved() const {
    APPBARDATA abd = appBarData(bar_);
    SHAppBarMessage(ABM_WINDOWPOSCHANGED, &abd);
}

void AppBar::windowActivated() const {
    APPBARDATA abd = appBarData(bar_);
    SHAppBarMessage(ABM_ACTIVATE, &abd);
}

void AppBar::fullScreenChanged(bool opened) {
    constexpr UINT kKeepPlace = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
    if (opened) {
        // Every appbar hears of it: only the bar of the monitor the program fills steps back. With a bar on
        // each monitor, one that cannot tell where the program is (no window in front for a moment) stays.
        HWND program = GetForegroundWindow();
        if (monitor_ && (!program || MonitorFromWindow(program, MONITOR_DEFAULTTONEAREST) != monitor_))
            return;
        zOrderAnchor_ = GetWindow(bar_, GW_HWNDPREV);
        steppedBack_ = true;
        SetWindowPos(bar_, HWND_BOTTOM, 0, 0, 0, 0, kKeepPlace);
    } else {
        if (!steppedBack_) return;
        steppedBack_ = false;
        HWND after = (zOrderAnchor_ && IsWindow(zOrderAnchor_)) ? zOrderAnchor_ : HWND_TOPMOST;
        SetWindowPos(bar_, after, 0, 0, 0, 0, kKeepPlace);
    }
}

} // namespace app
