// The bar's menu and the commands it, the own buttons and the hot keys send.
#include "app/about_dialog.h"
#include "app/app.h"
#include "app/bar_window.h"
#include "app/browser_launch.h"
#include "app/popup_menus.h"
#include "resources/resource.h"

namespace app {

void BarWindow::showBarMenu(POINT screenPoint) {
    runBarMenu(hwnd(), tracker_.list(), screenPoint);
}

LRESULT BarWindow::onCommand(WPARAM wParam) {
    int id = LOWORD(wParam);
    if (onMenuCommand(id)) return 0;
    // The own buttons act on a click only: a double click also sends BN_DOUBLECLICKED, which must not act
    // a second time.
    if (HIWORD(wParam) != BN_CLICKED) return 0;
    switch (id) {
    case core::ID_BAR_CLOSE_RIGHT:
    case core::ID_BAR_CLOSE_LEFT:
        exitProgram();
        break;
    case core::ID_BAR_HIDE_RIGHT:
    case core::ID_BAR_HIDE_LEFT:
        hideToTray();
        break;
    case core::ID_BAR_NEW_BROWSER:
        launchBrowser(settings().browserCommand);
        break;
    default:
        break;
    }
    return 0;
}

bool BarWindow::onMenuCommand(int id) {
    if (id >= core::ID_MENU_WINDOW_FIRST && id <= core::ID_MENU_WINDOW_LAST) {
        int index = core::windowListIndex(id, static_cast<size_t>(tracker_.list().count()));
        if (index >= 0) tracker_.Activate(index);
        return true;
    }
    switch (id) {
    case core::ID_MENU_NEW_BROWSER:
        launchBrowser(settings().browserCommand);
        return true;
    case core::ID_MENU_HIDE_RESTORE:
        toggleTray();
        return true;
    case core::ID_MENU_MINIMIZE_ALL:
        tracker_.MinimiseAll();
        return true;
    case core::ID_MENU_CLOSE_ALL:
        tracker_.CloseAll();
        return true;
    case core::ID_MENU_PREFERENCES:
        showPreferences();
        return true;
    case core::ID_MENU_EXIT:
        // Unlike the Close buttons, the menu's Exit does not look at the Shift key.
        PostMessageA(hwnd(), WM_CLOSE, 0, 0);
        return true;
    case core::ID_MENU_ABOUT:
        showAbout();
        return true;
    default:
        return false;
    }
}

void BarWindow::exitProgram() {
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    // Shift inverts "Close browser windows on exit" for this exit only; the stored value stays. The bar never
    // has the keyboard focus, so its thread may not yet have seen the Shift press that the focus window got:
    // the keyboard's own state counts too.
    const bool shift = GetKeyState(VK_SHIFT) < 0 || GetAsyncKeyState(VK_SHIFT) < 0;
    if (shift) settings().closeBrowsersOnExit = !settings().closeBrowsersOnExit;
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
    SetCursor(old);
}

void BarWindow::launchBrowser(std::string commandLine) {
    launchCommandLine(hwnd(), commandLine);
}

void BarWindow::showAbout() {
    AboutDialog about;
    about.runModal(instance(), IDD_ABOUT, hwnd());
}

} // namespace app
