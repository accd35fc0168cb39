#include "kit/standin.h"

#include <stdlib.h>
#include <string.h>

namespace standin {

HWND openBrowser(kit::Process& process, const std::string& arguments) {
    if (!process.start(kit::toolPath("standin-browser\\cv-browser.exe"), arguments)) return nullptr;
    HWND found = nullptr;
    kit::waitFor([&] {
        found = kit::findWindowOf(process.id());
        return found && IsWindowVisible(found);
    });
    return found;
}

bool startBrowserAs(kit::Process& process, const std::string& programName, const std::string& arguments) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "corvane-browsers";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string copy = folder + "\\" + programName;
    // Copied again every time: a stale copy of an older build would answer for the new one.
    CopyFileA(kit::toolPath("standin-browser\\cv-browser.exe").c_str(), copy.c_str(), FALSE);
    return process.start(copy, arguments);
}

HWND openTaskbar(kit::Process& process, const std::string& arguments) {
    if (!process.start(kit::toolPath("standin-taskbar\\cv-taskbar.exe"), arguments)) return nullptr;
    HWND found = nullptr;
    kit::waitFor([&] {
        found = FindWindowA("Shell_TrayWnd", nullptr);
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        return found && owner == process.id();
    });
    return found;
}

namespace {
// A Wine process's command line starts with its program's Unix path; its environment names its prefix.
constexpr const char* kSignalScript = R"(sig=$1; image=$2; marker=$3
for f in $(grep -l -a -F "$image" /proc/[0-9]*/cmdline 2>/dev/null); do
    d=${f%/cmdline}
    set -- $(tr '\000' ' ' 2>/dev/null < "$f")
    case "${1:-}" in */"$image"|*\\"$image") ;; *) continue ;; esac
    tr '\000' '\n' 2>/dev/null < "$d/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    kill -"$sig" "${d#/proc/}"
done
: > "$marker"
)";

bool writeFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    return ok;
}
} // namespace

bool signalProgram(const char* image, const char* signal) {
    const std::string base = "/tmp/corvane-signal-" + std::to_string(GetCurrentProcessId());
    const std::string script = base + ".sh", marker = base + ".done";
    DeleteFileA(kit::windowsPath(marker).c_str());
    if (!writeFile(kit::windowsPath(script), kSignalScript)) return false;
    // A Unix program started from Wine gives no handle to wait on: the script leaves a file when done.
    kit::Process shell;
    if (!shell.start("Z:\\bin\\sh", script + " " + signal + " " + image + " " + marker)) return false;
    const bool done = kit::waitFor(
        [&] { return GetFileAttributesA(kit::windowsPath(marker).c_str()) != INVALID_FILE_ATTRIBUTES; });
    DeleteFileA(kit::windowsPath(marker).c_str());
    DeleteFileA(kit::windowsPath(script).c_str());
    return done;
}

MessageBoxWatcher::MessageBoxWatcher(std::string caption)
    : caption_(std::move(caption)), thread_([this] { run(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::string MessageBoxWatcher::lastText() const {
    return text_;
}

namespace {
struct StaticText {
    char* buffer;
    int size;
};

BOOL CALLBACK readStatic(HWND child, LPARAM param) {
    auto* text = reinterpret_cast<StaticText*>(param);
    char name[32] = {};
    GetClassNameA(child, name, sizeof(name));
    char value[512] = {};
    if (_stricmp(name, "Static") == 0 && GetWindowTextA(child, value, sizeof(value)) > 0)
        strncpy(text->buffer, value, text->size - 1);
    return TRUE;
}
} // namespace

void MessageBoxWatcher::run() {
    while (!stop_) {
        HWND box = FindWindowA("#32770", caption_.c_str());
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (box && owner == GetCurrentProcessId() && IsWindowVisible(box)) {
            StaticText text{text_, static_cast<int>(sizeof(text_))};
            EnumChildWindows(box, readStatic, reinterpret_cast<LPARAM>(&text));
            ++count_;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            while (!stop_ && IsWindow(box))
                Sleep(10);
        }
        Sleep(10);
    }
}

} // namespace standin
