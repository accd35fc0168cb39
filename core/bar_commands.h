// The bar's user commands as rules: the bar menu's items, which command reaches which window of the list,
// what a tray icon mouse message does, which frame a picture button shows, and the launch error texts.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace core {

// The bar's command and control ids, all in this one place: its menu's commands, its own picture buttons and
// the bar window's own id.
constexpr int ID_MENU_ABOUT = 121;
constexpr int ID_MENU_CLOSE_ALL = 123;
constexpr int ID_MENU_EXIT = 124;
constexpr int ID_MENU_HIDE_RESTORE = 125;
constexpr int ID_MENU_NEW_BROWSER = 126;
constexpr int ID_MENU_MINIMIZE_ALL = 127;
constexpr int ID_MENU_PREFERENCES = 131;
constexpr int ID_MENU_WINDOW_FIRST = 10000;
constexpr int ID_MENU_WINDOW_LAST = 10199;
constexpr int ID_BAR_CLOSE_RIGHT = 218;
constexpr int ID_BAR_CLOSE_LEFT = 219;
constexpr int ID_BAR_HIDE_RIGHT = 230;
constexpr int ID_BAR_HIDE_LEFT = 231;
constexpr int ID_BAR_NEW_BROWSER = 245;
constexpr int BAR_WINDOW_ID = 32770;

// Whether no two ids of one kind are the same: for the tables of ids, checked as they are compiled.
template <class T, std::size_t N> constexpr bool allDistinct(const T (&ids)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = i + 1; j < N; ++j)
            if (ids[i] == ids[j]) return false;
    return true;
}

enum class MenuItemKind { WindowList, Separator, Command };

struct BarMenuItem {
    MenuItemKind kind;
    const char* text; // null for a separator
    int command;      // 0 for the window list and separators
};

constexpr size_t kBarMenuItemCount = 14;
// The bar menu from top to bottom.
const std::array<BarMenuItem, kBarMenuItemCount>& barMenuItems();

// The window-list command of the entry at index (the list may be longer than the commands that act).
constexpr int windowListCommand(size_t index) {
    return ID_MENU_WINDOW_FIRST + static_cast<int>(index);
}

// The list index a window-list command asks for, or -1 when the command is not one of them or the list
// (entryCount entries now) no longer reaches that far.
int windowListIndex(int command, size_t entryCount);

enum class TrayAction { None, Restore, OpenMenu };
// What a mouse message from the tray icon (its callback's lParam) asks of the bar.
TrayAction trayAction(uint32_t mouseMessage);

// The x of the frame a three-frame strip shows: pressed wins over hover, hover over normal.
constexpr int stripFrameX(bool selected, bool hover, int frameWidth) {
    return selected ? frameWidth : (hover ? 2 * frameWidth : 0);
}

// The message for a program launch's result code (above 31 is success), or null when there is none.
const char* launchErrorMessage(uintptr_t result);

} // namespace core
