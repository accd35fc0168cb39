// The DPI of the monitor a window is on, with the newer calls looked up at run time so the program still
// starts on systems that lack them.
#pragma once
#include <windows.h>

namespace win {

// Asks for per-monitor (v2) awareness when the manifest's request was not honoured; falls back to per-monitor
// (v1), then to system awareness. Called before the first window exists.
void requestPerMonitorDpi();

// The DPI of the window's monitor; the screen's logical DPI where the per-window call does not exist.
int windowDpi(HWND window);

// The effective DPI of a monitor (shcore.dll, loaded at run time); the system's DPI where that library or
// call is missing, or the monitor is gone.
int monitorDpi(HMONITOR monitor);

// A rectangle of 96-DPI units at the given DPI.
RECT scaledRect(const RECT& r, int dpi);

// The DPI the system reports for the whole screen (the value windows start with).
int systemDpi();

} // namespace win
