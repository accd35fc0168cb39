// Programs started by a test, where the built programs live, and finding other processes' windows.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "kit/wait.h"

namespace kit {

// The folder of the built deliverables (dist/x64) and of the build tree, as Windows paths.
std::string distDir();
std::string binDir();
// A host path (as the environment gives it) in Windows form.
std::string windowsPath(const std::string& hostPath);
// A stand-in program under the build tree's tools/ ("standin-browser\\cv-browser.exe").
std::string toolPath(const char* relativePath);

// Visible top-level windows, each filter applying when given: class, title, owning process.
std::vector<HWND> topLevelWindows(const char* className, const char* title = nullptr, DWORD processId = 0);
// The first top-level window (visible or not) of the process with the class (any class when null).
HWND findWindowOf(DWORD processId, const char* className = nullptr);
// The processes running from a program file of this name ("app.exe", any letter case), with their ids.
std::vector<DWORD> processesNamed(const char* exeFile);

// A program still running when its object goes is asked to close and, failing that, ended, so that nothing
// outlives its test.

class Process {
  public:
    Process() = default;
    ~Process() {
        if (running() && !close(2000)) kill();
        release();
    }
    Process(Process&& other) noexcept : info_(std::exchange(other.info_, PROCESS_INFORMATION{})) {}
    Process& operator=(Process&& other) noexcept {
        if (this != &other) {
            release();
            info_ = std::exchange(other.info_, PROCESS_INFORMATION{});
        }
        return *this;
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts a whole command line. False when it cannot be started.
    bool start(const std::string& commandLine) { return launch(nullptr, commandLine); }
    // Starts `program` (a path) with the given arguments.
    bool start(const std::string& program, const std::string& arguments) {
        return launch(program.c_str(), "\"" + program + "\" " + arguments);
    }

    // Starts a whole command line given in UTF-8, through the wide call: no character is lost on the way.
    bool startUtf8(const std::string& commandLine) {
        release();
        std::wstring wide(commandLine.size() + 1, L'\0');
        const int n = MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, wide.data(),
                                          static_cast<int>(wide.size()));
        wide.resize(n > 0 ? static_cast<size_t>(n) : 1);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        const bool started = CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            nullptr, &startup, &info_) != 0;
        startError_ = started ? 0 : GetLastError();
        return started;
    }

    DWORD id() const noexcept { return info_.dwProcessId; }
    // Why the last start failed (the system's error code), or 0.
    DWORD startError() const noexcept { return startError_; }
    HANDLE handle() const noexcept { return info_.hProcess; }
    bool running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    // Waits for the end; false when the process still runs after the timeout.
    bool waitExit(DWORD timeoutMs) const {
        return !info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }
    DWORD exitCode() const {
        DWORD code = STILL_ACTIVE;
        if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    // Asks every top-level window of the process to close, then waits for its end while this thread keeps
    // handling its own messages (the program may be sending to windows of this one).
    bool close(DWORD timeoutMs = 10000) {
        if (!running()) return true;
        EnumWindows(closeWindowOf, static_cast<LPARAM>(info_.dwProcessId));
        return waitFor([this] { return !running(); }, timeoutMs);
    }
    void kill() {
        if (!running()) return;
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }

  private:
    bool launch(const char* program, std::string commandLine) {
        release();
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        const bool started = CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            nullptr, &startup, &info_) != 0;
        startError_ = started ? 0 : GetLastError();
        return started;
    }
    void release() {
        if (info_.hProcess) CloseHandle(info_.hProcess);
        if (info_.hThread) CloseHandle(info_.hThread);
        info_ = {};
    }
    static BOOL CALLBACK closeWindowOf(HWND window, LPARAM pid) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == static_cast<DWORD>(pid)) PostMessageA(window, WM_CLOSE, 0, 0);
        return TRUE;
    }

    PROCESS_INFORMATION info_{};
    DWORD startError_ = 0;
};

} // namespace kit
