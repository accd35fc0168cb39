// Reading another process from outside: the bar's tool tip control (which lives in the bar's process, so its
// structures have to be passed in the bar's own memory) and the number of GDI and USER objects it holds.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kit {

DWORD processOf(HWND window);

struct Tool {
    HWND owner = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
};

// The tools of a tool tip control in another process, in the control's order.
std::vector<Tool> enumTools(HWND tips);
// The text a tool's tip shows, asked of the control (a callback tool asks its owner); "<none>" on failure.
std::string toolText(HWND tips, HWND owner, UINT_PTR id);

struct GuiObjects {
    long gdi = -1;
    long user = -1;
};

// GetGuiResources where the system counts; otherwise the used entries of the process's GDI handle table,
// and its windows (top-level and children) as the USER objects a window program makes and destroys.
GuiObjects guiObjects(DWORD processId);

} // namespace kit
