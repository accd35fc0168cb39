#include "app/bar_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/app.h"
#include "core/dpi_scale.h"
#include "hooks/shell/cvsh.h"
#include "app/taskbar_list.h"
#include "hooks/taskbar/cvth.h"
#include "message/message_dialog.h"
#include "resources/resource.h"
#include "win/dpi.h"

namespace app {

namespace {
constexpr const char* kBarClass = "CorvaneBar";

APPBARDATA appBarData(HWND bar) {
    APPBARDATA abd{};
    abd.cbSize = sizeof(abd);
    abd.hWnd = bar;
    return abd;
}
} // namespace

bool BarWindow::Create(const RECT& rect, HWND parent) {
    // The class icon is the small program icon, so it is loaded before the class exists.
    loadIcons();
    win::Window::registerClass(instance(), kBarClass, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS,
                               LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                               smallIcon.get());
    return create(WS_EX_TOOLWINDOW, kBarClass, kBarTitle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect.left,
                  rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, instance());
}

void BarWindow::loadIcons() {
    HINSTANCE inst = instance();
    loadCloseGlyph();
    largeIcon.reset(
        static_cast<HICON>(LoadImageA(inst, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
    smallIcon.reset(
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
        APPBARDATA abd = appBarData(hwnd());
        SHAppBarMessage(ABM_WINDOWPOSCHANGED, &abd);
        return r;
    }
    case WM_ACTIVATE: {
        LRESULT r = defaultProc(msg, wParam, lParam);
        APPBARDATA abd = appBarData(hwnd());
        SHAppBarMessage(ABM_ACTIVATE, &abd);
        return r;
    }
    case WM_BAR_APPBARNOTIFY:
        return onAppBarNotify(wParam, lParam);
    case WM_BAR_SHELLEVENT:
        return HandleShellEvent(reinterpret_cast<HWND>(wParam), lParam);
    case WM_BAR_HTTPREPLY:
        return message::handleHttpReply(hwnd(), instance(), dialogFont(), *replies, wParam);
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_ERASEBKGND:
        // The paint covers every pixel it is asked for from its off-screen copy; erasing first would flicker.
        return 1;
    case WM_BAR_WORKCOUNT:
        return workCount(wParam);
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
        return onNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        onCommand(wParam);
        return 0;
    case WM_BAR_TRAYNOTIFY:
        return onTrayNotify(lParam);
    case WM_HOTKEY:
        return onHotKey(wParam);
    case WM_GETOBJECT:
        if (LRESULT object = accessibility_.answer(wParam, lParam)) return object;
        return defaultProc(msg, wParam, lParam);
    case WM_DPICHANGED:
        return onDpiChanged(wParam, lParam);
    case WM_DISPLAYCHANGE:
        onDisplayChange();
        return defaultProc(msg, wParam, lParam);
    case WM_TIMER:
        onTimer(wParam);
        return defaultProc(msg, wParam, lParam);
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

LRESULT BarWindow::onCreate() {
    // Both hooks come first; each library has already told the user why it failed, and the bar cannot work
    // without them. A taskbar without a tab control is no failure: the task-list object takes over.
    if (!SetShellHook(hwnd())) return -1;
    usesTabControl_ = FindTaskbarTabControl() != nullptr;
    if (usesTabControl_ && !SetTaskbarHook(settings().catchExplorerWindows)) {
        RemoveShellHook();
        return -1;
    }
    startTaskbarList();
    taskbarCreatedMessage_ = RegisterWindowMessageA("TaskbarCreated");
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon.get()));
    // The window may sit on a monitor whose DPI differs from the system's.
    if (win::windowDpi(hwnd()) != barDpi()) setBarDpi(win::windowDpi(hwnd()));
    if (settings().startInTray) {
        addTrayIcon();
    } else {
        dockBar();
    }
    Enumerate();
    takeButtonsOff();
    Place(nullptr);
    createOwnButtons();
    SetWindowLongPtrA(hwnd(), GWLP_ID, BAR_WINDOW_ID);
    createToolTips();
    if (!settings().startInTray && settings().openBrowserOnStart && browserList.empty())
        launchBrowser(settings().browserCommand);
    registerHotKeys();
    messageThread = message::startMessageFetch(hwnd(), httpLibrary, replies);
    return 0;
}

void BarWindow::createToolTips() {
    toolTips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, instance(), nullptr);
    if (!toolTips_) return;
    SendMessageA(toolTips_, TTM_SETTIPBKCOLOR, 0x00B9E3F8, 0);
    RECT margins{4, 2, 4, 2};
    SendMessageA(toolTips_, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    SendMessageA(toolTips_, TTM_SETDELAYTIME, 100, 1000);
    addBrowserTools();
    SendMessageA(toolTips_, TTM_ACTIVATE, TRUE, 0);
}

void BarWindow::registerHotKeys() {
    const core::Settings& s = settings();
    // A combination someone else holds stays without function; the bar starts all the same.
    if (s.hotKeyHide)
        RegisterHotKey(hwnd(), HOTKEY_ID_HIDE, core::hotKeyModifiers(s.hotKeyHide), core::hotKeyVirtualKey(s.hotKeyHide));
    if (s.hotKeyNew)
        RegisterHotKey(hwnd(), HOTKEY_ID_NEW, core::hotKeyModifiers(s.hotKeyNew), core::hotKeyVirtualKey(s.hotKeyNew));
}

void BarWindow::onDestroy() {
    // A menu of the bar still open (the hold menu, the bar menu) would keep the thread in its loop, and the
    // program running, after the bar is gone: it closes with the bar. The loop sees that only at its next
    // message, and a close sent from another program brings none: a thread message wakes it.
    EndMenu();
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    undockBar();
    removeTrayIcon();
    UnregisterHotKey(hwnd(), HOTKEY_ID_HIDE);
    UnregisterHotKey(hwnd(), HOTKEY_ID_NEW);
    RemoveShellHook();
    RemoveTaskbarHook();
    // Before any window is asked to close: no browser window may be left without a button.
    endTaskbarList();
    if (settings().closeBrowsersOnExit) CloseAll();
    // Detaches the worker: it no longer sends to this window and ends by itself or with the process.
    messageThread.reset();
}

void BarWindow::onFinalMessage() {
    // The bar is the main window: its end ends the message loop, and the object deletes itself.
    barDestroyed(this);
    PostQuitMessage(0);
    delete this;
}

void BarWindow::onSize(int cx) {
    struct Place {
        controls::CHoverButton* button;
        int x;
    };
    const Place places[] = {{&closeButtonRight, cx - scaled(16)}, {&hideButtonRight, cx - scaled(29)},
                            {&closeButtonLeft, scaled(3)}, {&hideButtonLeft, scaled(16)}};
    for (const Place& p : places) {
        // A button is as large as its picture, which may be a little smaller than its room at some DPIs.
        const int side = p.button->frameWidth() > 0 ? p.button->frameWidth() : scaled(12);
        if (p.button->hwnd()) SetWindowPos(p.button->hwnd(), nullptr, p.x, scaled(3), side, side, SWP_NOZORDER);
    }
}

void BarWindow::dockBar() {
    APPBARDATA abd = appBarData(hwnd());
    abd.uCallbackMessage = WM_BAR_APPBARNOTIFY;
    SHAppBarMessage(ABM_NEW, &abd);
    positionBar();
}

void BarWindow::undockBar() {
    APPBARDATA abd = appBarData(hwnd());
    SHAppBarMessage(ABM_REMOVE, &abd);
}

void BarWindow::positionBar() {
    const core::Settings& s = settings();
    const int barHeight = scaled(s.barHeight);
    APPBARDATA abd = appBarData(hwnd());
    abd.uEdge = static_cast<UINT>(s.dockEdge);
    abd.rc.left = 0;
    abd.rc.right = GetSystemMetrics(SM_CXSCREEN);
    if (s.dockEdge == core::kEdgeBottom) {
        abd.rc.bottom = GetSystemMetrics(SM_CYSCREEN);
        abd.rc.top = abd.rc.bottom - barHeight;
    } else {
        abd.rc.top = 0;
        abd.rc.bottom = barHeight;
    }
    SHAppBarMessage(ABM_QUERYPOS, &abd);
    // The shell may have moved the strip clear of others; the bar keeps its own height.
    if (s.dockEdge == core::kEdgeBottom) {
        abd.rc.top = abd.rc.bottom - barHeight;
    } else {
        abd.rc.bottom = abd.rc.top + barHeight;
    }
    SetWindowPos(hwnd(), HWND_TOPMOST, abd.rc.left, abd.rc.top, abd.rc.right - abd.rc.left, barHeight, 0);
    SHAppBarMessage(ABM_SETPOS, &abd);
}

LRESULT BarWindow::onAppBarNotify(WPARAM code, LPARAM param) {
    if (code == ABN_POSCHANGED) {
        positionBar();
    } else if (code == ABN_FULLSCREENAPP && !settings().forceOverFullscreen) {
        constexpr UINT kKeepPlace = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
        if (param) {
            zOrderAnchor = GetWindow(hwnd(), GW_HWNDPREV);
            SetWindowPos(hwnd(), HWND_BOTTOM, 0, 0, 0, 0, kKeepPlace);
        } else {
            HWND after = (zOrderAnchor && IsWindow(zOrderAnchor)) ? zOrderAnchor : HWND_TOPMOST;
            SetWindowPos(hwnd(), after, 0, 0, 0, 0, kKeepPlace);
        }
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
    usesTabControl_ = FindTaskbarTabControl() != nullptr;
    if (usesTabControl_) SetTaskbarHook(settings().catchExplorerWindows);
    renewTaskbarList();
    takeButtonsOff();
}

void BarWindow::onCommand(WPARAM wParam) {
    int id = LOWORD(wParam);
    if (onMenuCommand(id)) return;
    // The own buttons act on a click only: a double click also sends BN_DOUBLECLICKED, which must not act
    // a second time.
    if (HIWORD(wParam) != BN_CLICKED) return;
    switch (id) {
    case ID_BAR_CLOSE_RIGHT:
    case ID_BAR_CLOSE_LEFT:
        exitProgram();
        break;
    case ID_BAR_HIDE_RIGHT:
    case ID_BAR_HIDE_LEFT:
        hideToTray();
        break;
    case ID_BAR_NEW_BROWSER:
        launchBrowser(settings().browserCommand);
        break;
    default:
        break;
    }
}

void BarWindow::exitProgram() {
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    // Shift inverts "Close browser windows on exit" for this exit only; the stored value stays.
    if (GetKeyState(VK_SHIFT) < 0) settings().closeBrowsersOnExit = !settings().closeBrowsersOnExit;
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
    SetCursor(old);
}

void BarWindow::preTranslateMessage(const MSG& msg) {
    if (!msg.hwnd) return;
    relayToOwnButton(msg);
    if (!toolTips_) return;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return;
    MSG copy = msg;
    SendMessageA(toolTips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
}

} // namespace app
