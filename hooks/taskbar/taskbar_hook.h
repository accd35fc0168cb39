// Inside the taskbar hook library. Its code runs in two processes: the installer (the bar) and the
// taskbar, where the hook makes the system load it. They share only the section below and a named event.
#pragma once
#include <windows.h>

namespace cvth {

struct SharedState {
    HWND tabControl;
    int ntFamily;
    HHOOK hook;
    int catchExplorer;
};

extern SharedState shared;

// Signalled by the taskbar's side once its first removal pass is done.
constexpr const char* kEventName = "{1F6C5480-155E-11d5-93A8-444553540000}";

// Deletes the items of the tracked windows from the tab control, last item first. Safe to reach again
// from its own messages: a nested call returns at once.
void removalPass() noexcept;

// The removal class rule (the bar's own, from core): exact, case-sensitive class names.
bool removesClass(const char* className, bool catchExplorer) noexcept;

void onProcessAttach() noexcept;
void onProcessDetach() noexcept;
void noteSystemFamily() noexcept;

LRESULT CALLBACK hookProcedure(int code, WPARAM wParam, LPARAM lParam) noexcept;

} // namespace cvth
