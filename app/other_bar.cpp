#include "app/other_bar.h"

#include <shellapi.h>

#include "app/app.h"
#include "app/bar_window.h"
#include "app/platform_seams.h"
#include "core/dpi_scale.h"

namespace app {

namespace {
constexpr const char* kOtherBarClass = "CorvaneOtherBar";
} // namespace

bool OtherBar::create(HMONITOR monitor, const RECT& monitorRect) {
    win::Window::registerClass(instance(), kOtherBarClass, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS,
                               LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                               nullptr);
    appBar_.setMonitor(monitor, monitorRect);
    dpi_ = monitorDpi(monitor);
    return win::Window::create(WS_EX_TOOLWINDOW, kOtherBarClass, kOtherBarTitle,
                               WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, monitorRect.left,
                               monitorRect.top, 100, 30, nullptr, nullptr, instance());
}

void OtherBar::show() {
    appBar_.dock(settings(), core::scaleForDpi(settings().barHeight, dpi_));
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

void OtherBar::hide() {
    appBar_.release();
    ShowWindow(hwnd(), SW_HIDE);
}

void OtherBar::position() {
    if (IsWindowVisible(hwnd())) appBar_.position(settings(), core::scaleForDpi(settings().barHeight, dpi_));
}

LRESULT OtherBar::windowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return onCreate(msg, wParam, lParam);
    case WM_DESTROY:
        model_.unsubscribe(accessibility_);
        model_.unsubscribe(strip_);
        appBar_.release();
        return defaultProc(msg, wParam, lParam);
    case WM_PAINT:
        return strip_.paint(), 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        return main_.pressOnStrip(strip_, hwnd(), wParam, lParam);
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_RBUTTONDOWN:
        return main_.rightPressOnStrip(strip_, hwnd(), lParam);
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NOTIFY:
        return strip_.onNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_BAR_APPBARNOTIFY:
        return onAppBarNotify(wParam, lParam);
    case WM_BAR_WORKCOUNT:
        return strip_.workCount(wParam);
    case WM_DPICHANGED:
        return onDpiChanged();
    case WM_GETOBJECT:
        return onGetObject(msg, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
        appBar_.windowMoved();
        return defaultProc(msg, wParam, lParam);
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

LRESULT OtherBar::onCreate(UINT msg, WPARAM wParam, LPARAM lParam) {
    appBar_.attach(hwnd());
    strip_.attach(hwnd());
    accessibility_.attach(hwnd());
    model_.subscribe(strip_);
    model_.subscribe(accessibility_);
    strip_.setDpi(dpi_);
    strip_.createToolTips();
    return defaultProc(msg, wParam, lParam);
}

void OtherBar::setMonitorFilter(ButtonStrip::MonitorFilter filter) {
    strip_.setMonitorFilter(std::move(filter));
    accessibility_.filterChanged();
}

void OtherBar::filterChanged() {
    strip_.filterChanged();
    accessibility_.filterChanged();
}

LRESULT OtherBar::onDpiChanged() {
    // The monitor's DPI, not the message's; a docked bar spans its edge, so the suggested place means
    // nothing.
    const int dpi = monitorDpi(appBar_.monitor());
    if (dpi == dpi_) return 0;
    dpi_ = dpi;
    strip_.setDpi(dpi_);
    position();
    return 0;
}

LRESULT OtherBar::onGetObject(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT object = accessibility_.answer(wParam, lParam)) return object;
    return defaultProc(msg, wParam, lParam);
}

LRESULT OtherBar::onAppBarNotify(WPARAM code, LPARAM param) {
    if (code == ABN_POSCHANGED) {
        position();
    } else if (code == ABN_FULLSCREENAPP && !settings().forceOverFullscreen) {
        appBar_.fullScreenChanged(param != 0);
    }
    return 1;
}

} // namespace app
