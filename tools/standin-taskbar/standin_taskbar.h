// Messages that tests send to the stand-in taskbar's "Shell_TrayWnd" window (cv-taskbar.exe). None of
// them is a tab-control message, so none of them counts as the taskbar laying out its buttons.
#pragma once
#include <windows.h>

namespace standin {

// wParam = a window: 1 when a tab item carries it, else 0.
constexpr UINT kHasItem = WM_APP + 1;
// The number of tab items, counted without asking the tab control for its count.
constexpr UINT kItemCount = WM_APP + 2;
// Brings the items up to date with the task windows now open; wParam 1 also lays out (asks the tab
// control for its count) when the list changed. Returns the number of items.
constexpr UINT kSync = WM_APP + 3;
// Lays out: asks the tab control for its count, as a taskbar does. Returns what the tab control said.
constexpr UINT kLayOut = WM_APP + 4;
// How many times the tab control was asked for its count, from anywhere in the process.
constexpr UINT kCountQueries = WM_APP + 5;
// wParam = a window, lParam = an icon id: 1 when the stand-in's notification area holds that icon, else 0.
constexpr UINT kHasTrayIcon = WM_APP + 6;

} // namespace standin
