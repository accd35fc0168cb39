// The bar's popup menu, built anew each time it opens, and the commands it and the own buttons send.
#include "app/bar_window.h"

#include "app/about_dialog.h"
#include "app/app.h"
#include "app/browser_windows.h"
#include "core/bar_commands.h"
#include "core/utf8.h"
#include "resources/resource.h"
#include "win/text.h"

namespace app {

namespace {
uintptr_t startProgramLine(const std::string& commandLine) {
    std::wstring line = win::widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        const DWORD error = GetLastError();
        return core::launchResultForError(error);
    }
    // As the old launcher did: the program gets up to 30 s to be ready for input before the bar goes on.
    WaitForInputIdle(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 33;
}

// The window list in list order: the entries' titles, commands from 10000 on.
win::Menu buildWindowList(const BrowserWindowList& list) {
    win::Menu menu(CreatePopupMenu());
    if (!menu) return menu;
    for (int i = 0; i < list.count(); ++i) {
        const std::string& title = list.entries[static_cast<size_t>(i)].title;
        AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(core::windowListCommand(static_cast<size_t>(i))),
                    win::widen(title).c_str());
    }
    return menu;
}

win::Menu buildBarMenu(win::Menu windowList) {
    win::Menu menu(CreatePopupMenu());
    if (!menu) return menu;
    for (const core::BarMenuItem& item : core::barMenuItems()) {
        switch (item.kind) {
        case core::MenuItemKind::WindowList:
            // The main menu owns the list from here on and destroys it with itself.
            if (AppendMenuA(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(windowList.get()), item.text))
                windowList.release();
            break;
        case core::MenuItemKind::Separator:
            AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
            break;
        case core::MenuItemKind::Command:
            AppendMenuA(menu.get(), MF_STRING, static_cast<UINT_PTR>(item.command), item.text);
            break;
        }
    }
    return menu;
}
} // namespace

void BarWindow::showBarMenu(POINT screenPoint) {
    win::Menu menu = buildBarMenu(buildWindowList(browserList));
    if (!menu) return;
    // The bar must be in the foreground, or the menu would not close when the user clicks elsewhere.
    HWND previous = GetForegroundWindow();
    SetForegroundWindow(hwnd());
    // The chosen command arrives as a posted WM_COMMAND after this returns.
    TrackPopupMenu(menu.get(), 0, screenPoint.x, screenPoint.y, 0, hwnd(), nullptr);
    menu.reset();
    if (previous && IsWindow(previous)) SetForegroundWindow(previous);
    PostMessageA(hwnd(), WM_NULL, 0, 0);
}

bool BarWindow::onMenuCommand(int id) {
    if (id >= core::ID_MENU_WINDOW_FIRST && id <= core::ID_MENU_WINDOW_LAST) {
        int index = core::windowListIndex(id, static_cast<size_t>(browserList.count()));
        if (index >= 0) Activate(index);
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
        MinimiseAll();
        return true;
    case core::ID_MENU_CLOSE_ALL:
        CloseAll();
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

void BarWindow::launchBrowser(std::string commandLine) {
    if (openDefaultBrowserInstead(commandLine)) return;
    // The whole setting is the command line, program and arguments together, as the user typed it. The wide
    // start keeps a path outside the ANSI code page; the old launcher's result codes keep their messages.
    if (const char* text = core::launchErrorMessage(startProgramLine(commandLine))) showAppMessage(hwnd(), text);
}

void BarWindow::showAbout() {
    AboutDialog about;
    about.runModal(instance(), IDD_ABOUT, hwnd());
}

} // namespace app
