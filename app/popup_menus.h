// The bar's two popup menus: the bar menu (the window list and the bar's commands), built anew each time it
// opens, and a browser button's own menu (restore or minimise, close).
#pragma once
#include <windows.h>

#include "app/browser_entry.h"

namespace app {

// Opens the bar menu at a screen point; the chosen command reaches the bar as a posted WM_COMMAND.
void runBarMenu(HWND bar, const BrowserWindowList& list, POINT screenPoint);
// Opens the menu of one browser window's button at a screen point and does what is chosen.
void runButtonMenu(HWND bar, HWND window, POINT screenPoint);

} // namespace app
