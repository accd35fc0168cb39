#include "app/browser_launch.h"

#include "app/app.h"
#include "app/browser_windows.h"
#include "core/bar_commands.h"
#include "core/utf8.h"
#include "resources/resource.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace app {

namespace {
uintptr_t startProgramLine(const std::string& commandLine) {
    std::wstring line = win::widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        const DWORD error = GetLastError();
        return core::launchResultForError(error);
    }
    // As the old launcher did: the program gets up to 30 s to be ready for input before the bar goes on.
    WaitForInputIdle(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 33;
}
} // namespace

void launchCommandLine(HWND owner, const std::string& commandLine) {
    if (openDefaultBrowserInstead(commandLine)) return;
    // The whole setting is the command line, program and arguments together, as the user typed it. The wide
    // start keeps a path outside the ANSI code page; the old launcher's result codes keep their messages.
    const uintptr_t result = startProgramLine(commandLine);
    if (core::launchErrorMessage(result))
        showAppMessage(owner, win::uiText(instance(), IDS_LAUNCH_ERROR_BASE + static_cast<UINT>(result)));
}

} // namespace app
