// Where the taskbar keeps its buttons when it keeps them in a tab control: Shell_TrayWnd, then (where the
// taskbar has one) its RebarWindow32, then MSTaskSwWClass, then SysTabControl32. The bar asks before it
// installs the hook; the library asks again when it is installed.
#pragma once
#include <windows.h>

inline HWND FindTaskbarTabControl() {
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    // Without a tray, the searches below would run over every top-level window.
    if (!tray) return nullptr;
    HWND rebar = FindWindowExA(tray, nullptr, "RebarWindow32", nullptr);
    HWND taskList = FindWindowExA(rebar ? rebar : tray, nullptr, "MSTaskSwWClass", nullptr);
    if (!taskList) return nullptr;
    return FindWindowExA(taskList, nullptr, "SysTabControl32", nullptr);
}
