// The real bar program: starting and closing it (beside the stand-in taskbar), and its settings in the
// registry.
#pragma once
#include <windows.h>

#include <string>

#include "kit/process.h"

namespace e2e {

// Where the bottom edge of the screen (or of a monitor's rectangle) ends for a newcomer appbar asking for a
// strip there: its bottom when no strip is reserved on that edge.
LONG bottomOfferedToANewcomer(RECT monitor = {});

// Deletes HKCU\Software\Corvane! with everything under it.
void deleteSettingsKey();
bool settingsKeyExists();
void writeSetting(const char* name, DWORD value);
// Stored through the narrow call, as earlier versions of the bar stored their strings.
void writeSetting(const char* name, const std::string& text);
// Stored wide from UTF-8, as the bar stores them now.
void writeSettingWide(const char* name, const std::string& utf8);
// A string value read wide, as UTF-8.
std::string readSettingWide(const char* name);
// UTF-8 and UTF-16 for the tests of text outside the ANSI code page.
std::wstring wideOf(const std::string& utf8);
std::string utf8Of(const std::wstring& wide);

// The first top-level window with the bar's title, or null.
HWND findBar();
// Starts the stand-in taskbar (tools/standin-taskbar, hidden) unless it runs already; it ends with the test
// program. startBar() calls it: the bar needs a taskbar whose buttons live in a tab control.
bool ensureStandInTaskbar();
// Ends it. Wine keeps a hook's library loaded in the hooked process until that process ends, so the stand-in
// holds on to the cvth.dll of the bar that hooked it.
bool stopStandInTaskbar();
// Starts corvane.exe and waits until its bar window exists and is placed; without the stand-in taskbar
// (standInTaskbar false), the bar meets only the platform's own taskbar, which keeps no tab control.
bool startBar(kit::Process& process, HWND* bar, DWORD timeoutMs = 10000, bool standInTaskbar = true);
// Asks a bar to close and waits for its process to end.
bool closeBar(kit::Process& process, HWND bar, DWORD timeoutMs = 10000);

} // namespace e2e
