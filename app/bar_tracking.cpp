// The list of browser windows: filled once at start-up, then kept by the shell's window events; placement
// of the windows and the operations over all of them.
#include <string>

#include "app/app.h"
#include "app/bar_window.h"
#include "core/browser_rules.h"
#include "core/preference_rules.h"
#include "win/text.h"

namespace app {

namespace {
// Shell hook codes the bar listens to.
constexpr LPARAM kWindowCreated = 1;
constexpr LPARAM kWindowDestroyed = 2;
constexpr LPARAM kWindowActivated = 4;
constexpr LPARAM kWindowRetitled = 6;

bool isBrowserWindow(HWND window) {
    // Any longer name is not one of ours; a cut one cannot match either.
    char name[256] = {};
    if (GetClassNameA(window, name, sizeof(name)) <= 0) return false;
    return core::isTrackedClass(name, settings().catchExplorerWindows != 0);
}

std::string titleOf(HWND window) {
    return core::browserTitle(win::windowText(window));
}

BOOL CALLBACK enumerateOne(HWND window, LPARAM param) {
    auto* list = reinterpret_cast<BrowserWindowList*>(param);
    // The system lists the front-most window first, so it ends up last: the rightmost button.
    if (isBrowserWindow(window)) list->insertFront(window, titleOf(window));
    return TRUE;
}
} // namespace

void BarWindow::Enumerate() {
    EnumWindows(enumerateOne, reinterpret_cast<LPARAM>(&browserList));
}

int BarWindow::FindEntry(HWND window) const {
    return browserList.find(window);
}

LRESULT BarWindow::HandleShellEvent(HWND window, LPARAM code) {
    if (!isBrowserWindow(window)) {
        if (code == kWindowActivated) setActiveBrowser(nullptr);
        return 0;
    }
    switch (code) {
    case kWindowActivated:
        setActiveBrowser(window);
        Place(window);
        break;
    case kWindowCreated:
        browserList.append(window, titleOf(window));
        accessibility_.notifyBrowserButton(EVENT_OBJECT_CREATE, browserList.count() - 1);
        addBrowserTool(window);
        if (settings().autoRestoreFromTray && !IsWindowVisible(hwnd())) restoreFromTray();
        Place(window);
        InvalidateRect(hwnd(), nullptr, TRUE);
        KillTimer(hwnd(), AUTOHIDE_TIMER_ID);
        break;
    case kWindowDestroyed: {
        int index = FindEntry(window);
        if (index < 0) break;
        deleteBrowserTool(window);
        accessibility_.notifyBrowserButton(EVENT_OBJECT_DESTROY, index);
        browserList.removeAt(index);
        activeBrowser = nullptr;
        InvalidateRect(hwnd(), nullptr, TRUE);
        if (settings().autoHide && browserList.empty()) SetTimer(hwnd(), AUTOHIDE_TIMER_ID, 4000, nullptr);
        break;
    }
    case kWindowRetitled:
        browserList.forEachIndexOf(window, [&](int i) {
            std::string title = titleOf(window);
            // Reading the text may have let another event change the list.
            if (!browserList.validIndex(i)) return;
            BrowserEntry& entry = browserList.entries[static_cast<size_t>(i)];
            entry.title = std::move(title);
            accessibility_.notifyBrowserButton(EVENT_OBJECT_NAMECHANGE, i);
            InvalidateRect(hwnd(), &entry.buttonRect, TRUE);
        });
        break;
    default:
        break;
    }
    return 1;
}

void BarWindow::Place(HWND window) {
    if (!window || !IsWindow(window)) {
        placeAll();
    } else {
        placeWindow(window);
    }
}

void BarWindow::placeWindow(HWND window) {
    const core::Settings& s = settings();
    // Maximising wins when both options are on: the preferences keep them exclusive, the registry need not.
    switch (core::placementOf(s)) {
    case core::Placement::Maximize:
        ShowWindow(window, SW_SHOWMAXIMIZED);
        break;
    case core::Placement::Align:
        ShowWindow(window, SW_SHOWNOACTIVATE);
        SetWindowPos(window, nullptr, s.alignLeft, s.alignTop, s.alignWidth, s.alignHeight, SWP_NOZORDER);
        break;
    case core::Placement::DontChange:
        break;
    }
}

void BarWindow::placeAll() {
    if (core::placementOf(settings()) == core::Placement::DontChange) return;
    browserList.forEachLastToFirst([this](HWND window) { placeWindow(window); });
}

void BarWindow::MinimiseAll() {
    if (!settings().hideBrowsersWithBar) return;
    browserList.forEachLastToFirst([](HWND window) { ShowWindow(window, SW_MINIMIZE); });
}

void BarWindow::RestoreAll() {
    browserList.forEachFirstToLast([](HWND window) {
        ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
    });
    Place(nullptr);
}

void BarWindow::CloseAll() {
    browserList.forEachLastToFirst([](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); });
}

void BarWindow::Activate(int index) {
    if (!browserList.validIndex(index)) return;
    HWND window = browserList.entries[static_cast<size_t>(index)].window;
    if (!IsWindow(window)) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

void BarWindow::onAutoHideTimer() {
    hideToTray();
    KillTimer(hwnd(), AUTOHIDE_TIMER_ID);
}

namespace {
TOOLINFOW browserTool(HWND owner, HWND window) {
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = owner;
    // The tool id is the browser's handle, not a window of the bar: no TTF_IDISHWND.
    ti.uId = reinterpret_cast<UINT_PTR>(window);
    return ti;
}
} // namespace

void BarWindow::addBrowserTool(HWND window) {
    if (!toolTips_) return;
    TOOLINFOW ti = browserTool(hwnd(), window);
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    ti.rect = {0, 0, 1, 1};
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void BarWindow::deleteBrowserTool(HWND window) {
    if (!toolTips_) return;
    TOOLINFOW ti = browserTool(hwnd(), window);
    SendMessageW(toolTips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void BarWindow::addBrowserTools() {
    for (const BrowserEntry& entry : browserList.entries) {
        addBrowserTool(entry.window);
        // Painted buttons are not laid out again unless they move: their tools take their place now.
        if (!IsRectEmpty(&entry.buttonRect)) moveBrowserTool(entry);
    }
}

} // namespace app
