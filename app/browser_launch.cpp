#include "app/browser_launch.h"

#include <vector>

#include "app/app.h"
#include "app/browser_windows.h"
#include "core/bar_commands.h"
#include "core/command_line.h"
#include "core/utf8.h"
#include "resources/resource.h"
#include "win/handle.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace app {

namespace {

bool hasFolder(const std::wstring& program) {
    return program.find_first_of(L"\\/:") != std::wstring::npos;
}

// A program named without a folder is looked for where the system looks for programs, ".exe" added when it
// has no extension; one with a folder is taken exactly as named, so no file the user did not name can stand
// in for it. A program not found goes on as named: the start then fails with the system's own reason.
std::wstring locateProgram(const std::wstring& program) {
    if (hasFolder(program)) return program;
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = SearchPathW(nullptr, program.c_str(), L".exe", static_cast<DWORD>(path.size()),
                                         path.data(), nullptr);
        if (length == 0) return program;
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(length);
    }
}

uintptr_t startProgramLine(const std::string& commandLine) {
    const core::CommandParts parts = core::splitCommandLine(commandLine);
    if (parts.program.empty()) return core::launchResultForError(ERROR_FILE_NOT_FOUND);
    const std::wstring program = locateProgram(win::widen(parts.program));
    std::wstring line = win::widen(core::quotedCommandLine(parts));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        const DWORD error = GetLastError();
        return core::launchResultForError(error);
    }
    // Nothing waits for the program to be ready: its window is noticed when it comes, and meanwhile the bar
    // goes on painting and answering.
    win::KernelHandle thread(process.hThread);
    win::KernelHandle started(process.hProcess);
    return 33;
}

} // namespace

void launchCommandLine(HWND owner, const std::string& commandLine) {
    if (openDefaultBrowserInstead(commandLine)) return;
    // The wide start keeps a path outside the ANSI code page; the old launcher's result codes keep their
    // messages, in the interface language.
    const uintptr_t result = startProgramLine(commandLine);
    if (core::launchErrorMessage(result))
        showAppMessage(owner, win::uiText(instance(), IDS_LAUNCH_ERROR_BASE + static_cast<UINT>(result)));
}

} // namespace app
