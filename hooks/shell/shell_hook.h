// Inside the shell hook library. The hook procedure runs in every process that receives shell events; all
// it knows is the shared section, written only by the process that installs the hook.
#pragma once
#include <windows.h>

namespace cvsh {

struct SharedState {
    HWND target;
    HHOOK hook;
};

// One copy for every process that maps the library.
extern SharedState shared;

// True for the events the bar follows: created, destroyed, activated, redrawn, flashing, each with a window.
bool forwards(int code, WPARAM window) noexcept;

LRESULT CALLBACK hookProcedure(int code, WPARAM wParam, LPARAM lParam) noexcept;

} // namespace cvsh
