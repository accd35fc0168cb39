// What the bar asks the system about its own process, behind seams a test can answer: Wine has neither
// integrity levels nor 32-bit programs on a 64-bit system.
#pragma once
#include <windows.h>

#include "core/platform_notices.h"

namespace app {

struct PlatformSeams {
    bool (*elevated)();
    // ChangeWindowMessageFilterEx, or null where the system lacks it.
    BOOL(WINAPI* allowMessage)(HWND window, UINT msg, DWORD action, void* status);
    core::BitnessAnswer (*bitness)();
};

// The real answers, with the newer calls looked up at run time so that older systems still start.
PlatformSeams systemSeams();

// The DPI of a monitor as every bar reads it (its effective DPI). Wine gives every monitor the one DPI: a
// test build puts in its own answer; null gives the system's back. An answer no monitor has reads as the
// system's DPI.
using MonitorDpiReader = int (*)(HMONITOR monitor);
void readMonitorDpiWith(MonitorDpiReader reader);
int monitorDpi(HMONITOR monitor);

// Lets the bar's messages from other programs through an elevated process's filter, and nothing else;
// returns how many were let through.
int admitMessagesFromOthers(HWND bar, UINT taskbarCreated, const PlatformSeams& seams);

// When the bar sees only programs of its own bitness, says so once in a balloon at the given screen point,
// owned by the bar and stopping nothing; returns the balloon (null when there is nothing to say). The caller
// takes it down after a while.
HWND tellBitness(HWND bar, POINT at, const PlatformSeams& seams);

} // namespace app
