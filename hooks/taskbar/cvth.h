// The taskbar hook library: removes the taskbar buttons of browser windows (and, when asked, of folder
// windows) from inside the taskbar's own process. Plain C calling convention, so both the 32-bit and the
// 64-bit builds export the functions under their undecorated names.
#pragma once
#include <windows.h>

// The bar asks where the buttons are before it hooks anything.
#include "hooks/taskbar/tab_control.h"

extern "C" {
// Hooks the taskbar's thread. `catchExplorer` non-zero removes folder windows' buttons too.
// 1 on success; 0 after a message box.
__declspec(dllimport) int SetTaskbarHook(int catchExplorer);
// Removes the hook, if one is set. Buttons already removed stay removed.
__declspec(dllimport) void RemoveTaskbarHook();
}
