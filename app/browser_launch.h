// Starting the browser command the user set (or the default browser where that command names one that is
// gone); a failure is told in the program's message box.
#pragma once
#include <windows.h>

#include <string>

namespace app {

void launchCommandLine(HWND owner, const std::string& commandLine);

} // namespace app
