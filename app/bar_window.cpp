#include "app/bar_window.h"

#include <shellapi.h>

#include "app/app.h"
#include "app/crash_guard.h"
#include "app/platform_seams.h"
#include "app/taskbar_list.h"
#include "core/dpi_scale.h"
#include "message/message_dialog.h"
#include "resources/resource.h"

namespace app {

namespace {
constexpr const char* kBarClass = "CorvaneBar";
// Long enough to be read, short enough not to stay in the way.
constexpr UINT kNoticeShownMs = 30000;
} // namespace

bool BarWindow::Create(const RECT& rect, HWND parent) {
    // The class icon is the small program icon, so it is loaded before the class exists.
    loadIcons();
    win::Window::registerClass(instance(), kBarClass, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS,
                               LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                               smallIcon_.get());
    return create(WS_EX_TOOLWINDOW, kBarClass, kBarTitle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                  instance());
}

void BarWindow::loadIcons() {
    HINSTANCE inst = instance();
    largeIcon_.reset(static_cast<HICON>(
        LoadImageA(inst, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
    smallIcon_.reset(
        static_cast<HICON>(LoadImageA(inst, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, LR_VGACOLOR)));
}

LRESULT BarWindow::windowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A registered message's number is known only at run time, so it cannot be a case below.
    if (msg == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) onTaskbarCreated();
    switch (msg) {
    case WM_CREATE:
        return onCreate(msg, wParam, lParam);
    case WM_DESTROY:
        return onDestroy(msg, wParam, lParam);
    case WM_SIZE:
        return onResized(msg, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
        return onWindowPosChanged(msg, wParam, lParam);
    case WM_ACTIVATE:
        return onActivate(msg, wParam, lParam);
    case WM_DPICHANGED:
        return onDpiChanged(lParam);
    case WM_DISPLAYCHANGE:
        return onDisplayChange(), defaultProc(msg, wParam, lParam);
    case WM_BAR_APPBARNOTIFY:
        return onAppBarNotify(wParam, lParam);
    case WM_BAR_WINDOWMOVED:
        return tracker_.recheckMonitor(reinterpret_cast<HWND>(wParam)), 0;
    case WM_BAR_SHELLEVENT:
        return onShellEvent(reinterpret_cast<HWND>(wParam), lParam);
    case WM_BAR_CLOAKEVENT:
        return tracker_.recheckCloaked(reinterpret_cast<HWND>(wParam)), 0;
    case WM_BAR_HTTPREPLY:
        return message::handleHttpReply(hwnd(), instance(), dialogFont(), *replies_, wParam);
    case WM_BAR_WORKCOUNT:
        return strip_.workCount(wParam);
    case WM_BAR_TRAYNOTIFY:
        return onTrayNotify(lParam);
    case WM_HOTKEY:
        return onHotKey(wParam);
    case WM_TIMER:
        return onTimer(wParam), defaultProc(msg, wParam, lParam);
    case WM_GETOBJECT:
        return onGetObject(msg, wParam, lParam);
    case WM_PAINT:
        return strip_.paint(), 0;
    case WM_ERASEBKGND:
        // The paint covers every pixel it is asked for from its off-screen copy; erasing first would flicker.
        return 1;
    case WM_LBUTTONDOWN:
        return onLeftButtonDown(wParam, lParam);
    case WM_MOUSEMOVE:
        return onMouseMove(wParam, lParam);
    case WM_LBUTTONUP:
        return onLeftButtonUp();
    case WM_CAPTURECHANGED:
        return onCaptureLost(), 0;
    case WM_CANCELMODE:
        return onCaptureLost(), defaultProc(msg, wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return onKeyDown(msg, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        return onLeftDoubleClick(lParam);
    case WM_RBUTTONDOWN:
        return onRightButtonDown(lParam);
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        // Quick presses on two buttons come as a double click: each is a press of its own.
        return onMiddleButtonDown(lParam);
    case WM_MBUTTONUP:
        return onMiddleButtonUp(lParam);
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        return onThemeMessage(msg, wParam, lParam), defaultProc(msg, wParam, lParam);
    case WM_MOUSEACTIVATE:
        // A click on the bar leaves the browser active; otherwise the shell would report the bar's
        // activation and the active button would lose its mark before the click is handled.
        return MA_NOACTIVATE;
    case WM_NOTIFY:
        return strip_.onNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        return onCommand(wParam);
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

LRESULT BarWindow::onCreate(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (defaultProc(msg, wParam, lParam) == -1) return -1;
    shell_.attach(hwnd());
    tracker_.attach(hwnd());
    strip_.attach(hwnd());
    accessibility_.attach(hwnd());
    tracker_.subscribe(strip_);
    tracker_.subscribe(accessibility_);
    if (!installHooks()) return -1;
    // Before the list is filled: a desktop changed meanwhile is heard, or read at listing.
    if (settings().currentDesktopOnly) shell_.cloakEvents.install(hwnd());
    startTaskbarList();
    // Without the hooks a window moved to another monitor changes bars at its next shell event.
    moveWatch_.start(hwnd());
    taskbarCreatedMessage_ = RegisterWindowMessageA(kTaskbarCreatedMessageName);
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.get()));
    // The bars, made next, say whether the windows' monitors matter, and read them if they do.
    tracker_.followMonitors(false);
    tracker_.Enumerate();
    makeBars(false);
    // The bar's monitor, known now, may have another DPI than the system's.
    if (ownDpi() != barDpi()) setBarDpi(ownDpi());
    strip_.setDpi(barDpi());
    if (settings().startInTray) {
        addTrayIcon();
    } else {
        dockBar();
        showOtherBars(true);
    }
    tracker_.takeButtonsOff();
    tracker_.Place(nullptr);
    ownButtons_.create(hwnd(), barDpi());
    SetWindowLongPtrA(hwnd(), GWLP_ID, core::BAR_WINDOW_ID);
    strip_.createToolTips();
    applyThemeToToolTips();
    if (!settings().startInTray && settings().openBrowserOnStart && tracker_.list().empty())
        launchBrowser(settings().browserCommand);
    shell_.hotKeys.registerFromSettings(settings());
    messageThread_ = message::startMessageFetch(hwnd(), httpLibrary_, replies_);
    startPlatformNotices();
    installCrashGuard(shell_);
    return 0;
}

void BarWindow::startPlatformNotices() {
    const PlatformSeams seams = systemSeams();
    admitMessagesFromOthers(hwnd(), taskbarCreatedMessage_, seams);
    RECT button{};
    GetWindowRect(GetDlgItem(hwnd(), core::ID_BAR_NEW_BROWSER), &button);
    notice_ =
        tellBitness(hwnd(), {(button.left + button.right) / 2, (button.top + button.bottom) / 2}, seams);
    if (notice_) SetTimer(hwnd(), NOTICE_TIMER_ID, kNoticeShownMs, nullptr);
}

bool BarWindow::installHooks() {
    // Both hooks come first; each library has already told the user why it failed, and the bar cannot work
    // without them. A taskbar without a tab control is no failure: the task-list object takes over.
    if (!shell_.shellHook.install(hwnd())) return false;
    const bool hooked = shell_.taskbarHook.install(settings().catchExplorerWindows);
    tracker_.setUsesTabControl(shell_.taskbarHook.usesTabControl());
    if (!hooked) shell_.shellHook.release();
    return hooked;
}

LRESULT BarWindow::onDestroy(UINT msg, WPARAM wParam, LPARAM lParam) {
    defaultProc(msg, wParam, lParam);
    // A menu of the bar still open (the hold menu, the bar menu) would keep the thread in its loop, and the
    // program running, after the bar is gone: it closes with the bar. The loop sees that only at its next
    // message, and a close sent from another program brings none: a thread message wakes it.
    EndMenu();
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    moveWatch_.stop();
    closeOtherBars();
    // The same release the crash guard runs; each part gives back only once. The guard lets go of the parts
    // before they go with the bar.
    shell_.release();
    clearCrashGuard();
    endTaskbarList();
    if (settings().closeBrowsersOnExit) tracker_.CloseAll();
    // Detaches the worker: it no longer sends to this window and ends by itself or with the process.
    messageThread_.reset();
    return 0;
}

void BarWindow::onFinalMessage() {
    // The bar is the main window: its end ends the message loop, and the object deletes itself.
    barDestroyed(this);
    PostQuitMessage(0);
    delete this;
}

LRESULT BarWindow::onResized(UINT msg, WPARAM wParam, LPARAM lParam) {
    defaultProc(msg, wParam, lParam);
    onSize(LOWORD(lParam));
    return 0;
}

void BarWindow::onSize(int cx) {
    ownButtons_.layOut(cx, barDpi());
}

LRESULT BarWindow::onWindowPosChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = defaultProc(msg, wParam, lParam);
    shell_.appBar.windowMoved();
    return result;
}

LRESULT BarWindow::onActivate(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = defaultProc(msg, wParam, lParam);
    if (LOWORD(wParam) == WA_INACTIVE) endKeyboard();
    shell_.appBar.windowActivated();
    return result;
}

LRESULT BarWindow::onGetObject(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT object = accessibility_.answer(wParam, lParam)) return object;
    return defaultProc(msg, wParam, lParam);
}

void BarWindow::dockBar() {
    shell_.appBar.dock(settings(), core::scaleForDpi(settings().barHeight, barDpi()));
}

void BarWindow::undockBar() {
    shell_.appBar.release();
}

void BarWindow::positionBar() {
    shell_.appBar.position(settings(), core::scaleForDpi(settings().barHeight, barDpi()));
    for (OtherBar* bar : otherBars_)
        bar->position();
}

LRESULT BarWindow::onAppBarNotify(WPARAM code, LPARAM param) {
    if (code == ABN_POSCHANGED) {
        positionBar();
    } else if (code == ABN_FULLSCREENAPP && !settings().forceOverFullscreen) {
        shell_.appBar.fullScreenChanged(param != 0);
    }
    return 1;
}

void BarWindow::onTaskbarCreated() {
    // The shell lost its notification area, its appbars and its task list: what the bar put there must be
    // put back. A shell that still knows the bar refuses the second registration; the position is negotiated
    // all the same.
    if (IsWindowVisible(hwnd())) {
        dockBar();
        showOtherBars(true);
    } else {
        addTrayIcon();
    }
    // A new taskbar that cannot be hooked has been reported by the library; the bar goes on without it.
    shell_.taskbarHook.install(settings().catchExplorerWindows);
    tracker_.setUsesTabControl(shell_.taskbarHook.usesTabControl());
    renewTaskbarList();
    tracker_.takeButtonsOff();
}

void BarWindow::preTranslateMessage(const MSG& msg) {
    if (!msg.hwnd) return;
    ownButtons_.relay(msg);
    strip_.relayToToolTips(msg);
    for (OtherBar* bar : otherBars_)
        bar->relayToToolTips(msg);
}

} // namespace app
