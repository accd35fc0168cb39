// Messages that tests send to a stand-in browser's windows (cv-browser.exe).
#pragma once
#include <windows.h>

namespace standin {

// wParam = a WinEvent, lParam = an object id: the window raises that event for itself, as the shell does
// for a window it hides or shows when the user changes virtual desktops. Returns 1.
constexpr UINT kRaiseWinEvent = WM_APP + 1;

} // namespace standin
