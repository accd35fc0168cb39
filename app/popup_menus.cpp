#include "app/popup_menus.h"

#include "core/bar_commands.h"
#include "core/button_click.h"
#include "resources/resource.h"
#include "win/handle.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace app {

namespace {
// A command's text is the string of the same id.
static_assert(IDS_MENU_ABOUT == core::ID_MENU_ABOUT && IDS_MENU_CLOSE_ALL == core::ID_MENU_CLOSE_ALL &&
                  IDS_MENU_EXIT == core::ID_MENU_EXIT &&
                  IDS_MENU_HIDE_RESTORE == core::ID_MENU_HIDE_RESTORE &&
                  IDS_MENU_NEW_BROWSER == core::ID_MENU_NEW_BROWSER &&
                  IDS_MENU_MINIMIZE_ALL == core::ID_MENU_MINIMIZE_ALL &&
                  IDS_MENU_PREFERENCES == core::ID_MENU_PREFERENCES,
              "menu string ids");

std::wstring menuText(UINT id) {
    return win::uiWideText(GetModuleHandleW(nullptr), id);
}

// The window list in list order: the entries' titles, commands from 10000 on.
win::Menu buildWindowList(const BrowserWindowList& list) {
    win::Menu menu(CreatePopupMenu());
    if (!menu) return menu;
    for (int i = 0; i < list.count(); ++i) {
        const std::string& title = list.entries[static_cast<size_t>(i)].title;
        AppendMenuW(menu.get(), MF_STRING,
                    static_cast<UINT_PTR>(core::windowListCommand(static_cast<size_t>(i))),
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
            if (AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(windowList.get()),
                            menuText(IDS_MENU_WINDOW_LIST).c_str()))
                windowList.release();
            break;
        case core::MenuItemKind::Separator:
            AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
            break;
        case core::MenuItemKind::Command:
            AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(item.command),
                        menuText(static_cast<UINT>(item.command)).c_str());
            break;
        }
    }
    return menu;
}
} // namespace

void runBarMenu(HWND bar, const BrowserWindowList& list, POINT screenPoint) {
    win::Menu menu = buildBarMenu(buildWindowList(list));
    if (!menu) return;
    // The bar must be in the foreground, or the menu would not close when the user clicks elsewhere.
    HWND previous = GetForegroundWindow();
    SetForegroundWindow(bar);
    // The chosen command arrives as a posted WM_COMMAND after this returns.
    TrackPopupMenu(menu.get(), 0, screenPoint.x, screenPoint.y, 0, bar, nullptr);
    menu.reset();
    if (previous && IsWindow(previous)) SetForegroundWindow(previous);
    PostMessageA(bar, WM_NULL, 0, 0);
}

void runButtonMenu(HWND bar, HWND window, POINT screenPoint) {
    win::Menu menu(CreatePopupMenu());
    if (!menu) return;
    const UINT first = IsIconic(window) ? IDS_BUTTON_MENU_RESTORE : IDS_BUTTON_MENU_MINIMIZE;
    InsertMenuW(menu.get(), 0, MF_BYPOSITION | MF_STRING, core::kContextMenuToggle, menuText(first).c_str());
    InsertMenuW(menu.get(), 1, MF_BYPOSITION | MF_STRING, core::kContextMenuClose,
                menuText(IDS_BUTTON_MENU_CLOSE).c_str());
    auto command = static_cast<unsigned>(TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                        screenPoint.x, screenPoint.y, 0, bar, nullptr));
    switch (core::decideContextCommand(command, IsIconic(window) != 0)) {
    case core::MenuAction::RestoreAndFront:
        ShowWindowAsync(window, SW_RESTORE);
        SetForegroundWindow(window);
        break;
    case core::MenuAction::Minimise:
        ShowWindowAsync(window, SW_MINIMIZE);
        break;
    case core::MenuAction::Close:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case core::MenuAction::Nothing:
        break;
    }
}

} // namespace app
