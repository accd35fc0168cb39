// Helpers for end-to-end scenarios: start the real programs as processes, wait on conditions, reset the
// registry between scenarios.
#pragma once
#include <windows.h>

#include "test_process.h"

#include <functional>
#include <string>

namespace e2e {

// The folder of the built deliverables (dist/x64), as a Windows path.
std::string distDir();
// The folder of the build tree (for stand-ins built beside the tests).
std::string binDir();

// Polls the condition every few milliseconds until it holds or the time is up.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

using Process = testproc::Process;

// Where the bottom edge of the screen ends for a newcomer appbar asking for a strip there: the screen's
// bottom when no strip is reserved on that edge.
LONG bottomOfferedToANewcomer();

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
bool startBar(Process& process, HWND* bar, DWORD timeoutMs = 10000, bool standInTaskbar = true);
// Asks a bar to close and waits for its process to end.
bool closeBar(Process& process, HWND bar, DWORD timeoutMs = 10000);

} // namespace e2e
