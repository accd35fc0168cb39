// The list of browser windows: filled once at start-up, then kept by the shell's window events; placement
// of the windows and the operations over all of them.
#include <string>

#include "app/app.h"
#include "app/bar_window.h"
#include "app/browser_windows.h"
#include "app/taskbar_list.h"
#include "core/browser_rules.h"
#include "core/preference_rules.h"

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
    if (core::isTrackedClass(name, settings().catchExplorerWindows != 0)) return true;
    return otherBrowserProgram(window, name) && wouldHaveTaskbarButton(window);
}

std::string titleOf(HWND window) {
    if (const core::BrowserProgram* program = otherBrowserProgram(window))
        return otherBrowserButtonText(window, *program);
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    int got = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return core::browserTitle(text);
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

bool BarWindow::concernsBar(HWND window, LPARAM code) {
    if (code == kWindowDestroyed) pendingWindows.remove(window);
    // A listed window of today's browsers may no longer pass the test it passed (hidden before it goes); a
    // word about a window already gone comes too late.
    if (FindEntry(window) >= 0) return IsWindow(window) != FALSE;
    if (!isBrowserWindow(window)) {
        if (code == kWindowActivated) setActiveBrowser(nullptr);
        if (code != kWindowDestroyed && otherBrowserProgram(window)) watchPending(window);
        return false;
    }
    // A later code is a chance to catch a window of today's browsers that was not ready at its creation.
    if (code != kWindowCreated && code != kWindowDestroyed && otherBrowserProgram(window)) {
        pendingWindows.remove(window);
        trackWindow(window);
    }
    return true;
}

LRESULT BarWindow::HandleShellEvent(HWND window, LPARAM code) {
    if (!concernsBar(window, code)) return 0;
    switch (code) {
    case kWindowActivated:
        setActiveBrowser(window);
        Place(window);
        break;
    case kWindowCreated:
        // Today's browsers are listed once; the classic classes keep their rule of one entry per report.
        if (FindEntry(window) >= 0 && otherBrowserProgram(window)) {
            takeButtonOff(window);
            break;
        }
        trackWindow(window);
        break;
    case kWindowDestroyed: {
        int index = FindEntry(window);
        if (index < 0) break;
        deleteBrowserTool(window);
        browserList.removeAt(index);
        if (FindEntry(window) < 0) giveButtonBack(window);
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
            InvalidateRect(hwnd(), &entry.buttonRect, TRUE);
        });
        break;
    default:
        break;
    }
    return 1;
}

void BarWindow::trackWindow(HWND window) {
    browserList.append(window, titleOf(window));
    if (usesTaskbarList(window)) takeButtonOff(window);
    addBrowserTool(window);
    if (settings().autoRestoreFromTray && !IsWindowVisible(hwnd())) restoreFromTray();
    Place(window);
    InvalidateRect(hwnd(), nullptr, TRUE);
    KillTimer(hwnd(), AUTOHIDE_TIMER_ID);
}

bool BarWindow::usesTaskbarList(HWND window) const {
    return !usesTabControl_ || otherBrowserProgram(window) != nullptr;
}

void BarWindow::takeButtonsOff() {
    browserList.forEachFirstToLast([this](HWND window) {
        if (usesTaskbarList(window)) takeButtonOff(window);
    });
}

void BarWindow::watchPending(HWND window) {
    // A quarter of a second is soon enough for a window being shown, and the timer runs only while needed.
    if (pendingWindows.empty()) SetTimer(hwnd(), PENDING_TIMER_ID, 250, nullptr);
    pendingWindows.add(window, GetTickCount());
}

void BarWindow::recheckPending() {
    pendingWindows.recheck(GetTickCount(), [this](HWND window) {
        if (!IsWindow(window)) return true;
        if (FindEntry(window) >= 0) return true;
        if (!isBrowserWindow(window)) return false;
        trackWindow(window);
        return true;
    });
    if (pendingWindows.empty()) KillTimer(hwnd(), PENDING_TIMER_ID);
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
TOOLINFOA browserTool(HWND owner, HWND window) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = owner;
    // The tool id is the browser's handle, not a window of the bar: no TTF_IDISHWND.
    ti.uId = reinterpret_cast<UINT_PTR>(window);
    return ti;
}
} // namespace

void BarWindow::addBrowserTool(HWND window) {
    if (!toolTips_) return;
    TOOLINFOA ti = browserTool(hwnd(), window);
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    ti.rect = {0, 0, 1, 1};
    SendMessageA(toolTips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void BarWindow::deleteBrowserTool(HWND window) {
    if (!toolTips_) return;
    TOOLINFOA ti = browserTool(hwnd(), window);
    SendMessageA(toolTips_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void BarWindow::addBrowserTools() {
    for (const BrowserEntry& entry : browserList.entries) {
        addBrowserTool(entry.window);
        // Painted buttons are not laid out again unless they move: their tools take their place now.
        if (!IsRectEmpty(&entry.buttonRect)) moveBrowserTool(entry);
    }
}

} // namespace app
