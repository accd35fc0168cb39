// What end-to-end tray and menu tests read from the running bar: its tray icon, its appbar, its popup menu,
// its message boxes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "kit/input.h"
#include "kit/pixels.h"

namespace tray {

constexpr UINT kTrayIconId = 32771;
// The message the bar's tray icon sends it.
constexpr UINT kTrayNotify = WM_USER + 1;

// Asks the shell whether the bar's tray icon is there (changing nothing about it).
bool iconPresent(HWND bar);
// Removes the bar's tray icon behind its back, as a shell that restarts loses it.
void dropIcon(HWND bar);
// True while an appbar reserves the bottom strip of the screen.
bool bottomStripReserved();

// The visible popup menu window ("#32768"), or null.
HWND popupMenu();
// Waits for a popup menu to show; null when none did.
HWND waitPopupMenu(DWORD timeoutMs = 3000);
// The tray icon's right press, as the shell reports it; the menu it opens, or null.
HWND openIconMenu(HWND bar);
// A click on one of the bar's own buttons: released once the button shows itself pressed, as a hand would.
// A release that overtakes the press's handling (which takes the focus) finds no pressed button to click.
bool pressAndRelease(HWND button);
// The texts of the items of the menu a popup menu window of the bar shows; separators give "-", the items
// of a submenu follow their item with a tab in front. Read from inside the bar's process.
std::vector<std::string> menuItems(HWND bar, HWND menuWindow);

// A visible dialog of the given process with the given caption, or null.
HWND dialogOf(DWORD processId, const char* caption);
// The texts of a dialog's static text controls (not its icons), in child order.
std::vector<std::string> staticTexts(HWND dialog);

// The text of a visible tool tip of the process (UTF-8), or "" when none shows.
std::string shownToolTip(DWORD processId);
// A visible top-level window with this title, or null.
HWND windowTitled(const char* title);
// Closes every top-level window with this title.
void closeWindowsTitled(const char* title);

} // namespace tray
