#include "core/bar_commands.h"

namespace core {

namespace {
// Mouse messages as the tray icon's callback carries them.
constexpr uint32_t kLeftButtonDown = 0x0201;
constexpr uint32_t kRightButtonDown = 0x0204;
} // namespace

const std::array<BarMenuItem, kBarMenuItemCount>& barMenuItems() {
    static const std::array<BarMenuItem, kBarMenuItemCount> items{{
        {MenuItemKind::WindowList, "IE windows list", 0},
        {MenuItemKind::Separator, nullptr, 0},
        {MenuItemKind::Command, "New Internet Explorer window", ID_MENU_NEW_BROWSER},
        {MenuItemKind::Separator, nullptr, 0},
        {MenuItemKind::Command, "Hide/restore Corvane!", ID_MENU_HIDE_RESTORE},
        {MenuItemKind::Separator, nullptr, 0},
        {MenuItemKind::Command, "Minimize all browser windows", ID_MENU_MINIMIZE_ALL},
        {MenuItemKind::Command, "Close all browser windows", ID_MENU_CLOSE_ALL},
        {MenuItemKind::Separator, nullptr, 0},
        {MenuItemKind::Command, "Preferences", ID_MENU_PREFERENCES},
        {MenuItemKind::Separator, nullptr, 0},
        {MenuItemKind::Command, "Exit", ID_MENU_EXIT},
        {MenuItemKind::Separator, nullptr, 0},
        {MenuItemKind::Command, "About Corvane!", ID_MENU_ABOUT},
    }};
    return items;
}

int windowListIndex(int command, size_t entryCount) {
    if (command < ID_MENU_WINDOW_FIRST || command > ID_MENU_WINDOW_LAST) return -1;
    size_t index = static_cast<size_t>(command - ID_MENU_WINDOW_FIRST);
    // The list may have shrunk while the menu was open.
    return index < entryCount ? static_cast<int>(index) : -1;
}

TrayAction trayAction(uint32_t mouseMessage) {
    // Only presses count: the release and the double click of the same gesture must not act twice.
    switch (mouseMessage) {
    case kLeftButtonDown:
        return TrayAction::Restore;
    case kRightButtonDown:
        return TrayAction::OpenMenu;
    default:
        return TrayAction::None;
    }
}

const char* launchErrorMessage(uintptr_t result) {
    switch (result) {
    case 0:
        return "The system is out of memory or resources !";
    case 2:
        return "The specified file was not found !";
    case 3:
        return "The specified path was not found !";
    case 11:
        return "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image) !";
    default:
        return nullptr;
    }
}

} // namespace core
