#include "app/popup_menus.h"

#include "core/bar_commands.h"
#include "core/button_click.h"
#include "win/handle.h"
#include "win/text.h"

namespace app {

namespace {
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
    InsertMenuA(menu.get(), 0, MF_BYPOSITION | MF_STRING, core::kContextMenuToggle,
                core::contextMenuFirstItem(IsIconic(window) != 0));
    InsertMenuA(menu.get(), 1, MF_BYPOSITION | MF_STRING, core::kContextMenuClose, "Close");
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
