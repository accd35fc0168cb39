#include "app/bar_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include "app/app.h"
#include "app/crash_guard.h"
#include "app/platform_seams.h"
#include "app/taskbar_list.h"
#include "core/dpi_scale.h"
#include "message/message_dialog.h"
#include "resources/resource.h"
#include "win/dpi.h"

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
    strip_.loadCloseGlyph(barDpi());
    largeIcon_.reset(static_cast<HICON>(
        LoadImageA(inst, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
    smallIcon_.reset(
        static_cast<HICON>(LoadImageA(inst, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, LR_VGACOLOR)));
}

LRESULT BarWindow::windowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) onTaskbarCreated();
    switch (msg) {
    case WM_CREATE:
        if (defaultProc(msg, wParam, lParam) == -1) return -1;
        return onCreate();
    case WM_DESTROY:
        defaultProc(msg, wParam, lParam);
        onDestroy();
        return 0;
    case WM_SIZE:
        defaultProc(msg, wParam, lParam);
        onSize(LOWORD(lParam));
        return 0;
    case WM_WINDOWPOSCHANGED: {
        LRESULT r = defaultProc(msg, wParam, lParam);
        shell_.appBar.windowMoved();
        return r;
    }
    case WM_ACTIVATE: {
        LRESULT r = defaultProc(msg, wParam, lParam);
        shell_.appBar.windowActivated();
        return r;
    }
    case WM_DPICHANGED:
        return onDpiChanged(lParam);
    case WM_DISPLAYCHANGE:
        onDisplayChange();
        return defaultProc(msg, wParam, lParam);
    default:
        return notificationMessage(msg, wParam, lParam);
    }
}

LRESULT BarWindow::notificationMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_BAR_APPBARNOTIFY:
        return onAppBarNotify(wParam, lParam);
    case WM_BAR_SHELLEVENT:
        return HandleShellEvent(reinterpret_cast<HWND>(wParam), lParam);
    case WM_BAR_HTTPREPLY:
        return message::handleHttpReply(hwnd(), instance(), dialogFont(), *replies_, wParam);
    case WM_BAR_WORKCOUNT:
        return strip_.workCount(wParam);
    case WM_BAR_TRAYNOTIFY:
        return onTrayNotify(lParam);
    case WM_HOTKEY:
        return onHotKey(wParam);
    case WM_TIMER:
        onTimer(wParam);
        return defaultProc(msg, wParam, lParam);
    case WM_GETOBJECT:
        if (LRESULT object = accessibility_.answer(wParam, lParam)) return object;
        return defaultProc(msg, wParam, lParam);
    default:
        return stripMessage(msg, wParam, lParam);
    }
}

LRESULT BarWindow::stripMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        strip_.paint(tracker_.list());
        return 0;
    case WM_ERASEBKGND:
        // The paint covers every pixel it is asked for from its off-screen copy; erasing first would flicker.
        return 1;
    case WM_LBUTTONDOWN:
        onLeftButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click does nothing: a double click on a button acts once.
        return 0;
    case WM_RBUTTONDOWN:
        onRightButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEACTIVATE:
        // A click on the bar leaves the browser active; otherwise the shell would report the bar's
        // activation and the active button would lose its mark before the click is handled.
        return MA_NOACTIVATE;
    case WM_NOTIFY:
        return strip_.onNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        onCommand(wParam);
        return 0;
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

LRESULT BarWindow::onCreate() {
    shell_.attach(hwnd());
    tracker_.attach(hwnd());
    strip_.attach(hwnd());
    if (!installHooks()) return -1;
    startTaskbarList();
    taskbarCreatedMessage_ = RegisterWindowMessageA("TaskbarCreated");
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.get()));
    // The window may sit on a monitor whose DPI differs from the system's.
    const int dpi = win::windowDpi(hwnd());
    if (core::isSaneDpi(dpi) && dpi != barDpi()) setBarDpi(dpi);
    if (settings().startInTray) {
        addTrayIcon();
    } else {
        dockBar();
    }
    Enumerate();
    tracker_.takeButtonsOff();
    Place(nullptr);
    ownButtons_.create(hwnd(), barDpi());
    SetWindowLongPtrA(hwnd(), GWLP_ID, core::BAR_WINDOW_ID);
    strip_.createToolTips(tracker_.list());
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

void BarWindow::onDestroy() {
    // A menu of the bar still open (the hold menu, the bar menu) would keep the thread in its loop, and the
    // program running, after the bar is gone: it closes with the bar. The loop sees that only at its next
    // message, and a close sent from another program brings none: a thread message wakes it.
    EndMenu();
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    // The same release the crash guard runs; each part gives back only once. The guard lets go of the parts
    // before they go with the bar.
    shell_.release();
    clearCrashGuard();
    endTaskbarList();
    if (settings().closeBrowsersOnExit) CloseAll();
    // Detaches the worker: it no longer sends to this window and ends by itself or with the process.
    messageThread_.reset();
}

void BarWindow::onFinalMessage() {
    // The bar is the main window: its end ends the message loop, and the object deletes itself.
    barDestroyed(this);
    PostQuitMessage(0);
    delete this;
}

void BarWindow::onSize(int cx) {
    ownButtons_.layOut(cx, barDpi());
}

void BarWindow::dockBar() {
    shell_.appBar.dock(settings(), core::scaleForDpi(settings().barHeight, barDpi()));
}

void BarWindow::undockBar() {
    shell_.appBar.release();
}

void BarWindow::positionBar() {
    shell_.appBar.position(settings(), core::scaleForDpi(settings().barHeight, barDpi()));
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
}

} // namespace app
