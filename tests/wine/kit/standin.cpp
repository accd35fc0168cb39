#include "kit/standin.h"

#include <string.h>

#include <fstream>

#include "kit/tray.h"

namespace standin {

HWND openBrowser(kit::Process& process, const std::string& arguments, const char* program) {
    if (!process.start(kit::toolPath(("standin-browser\\" + std::string(program)).c_str()), arguments))
        return nullptr;
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
    if (!process.running() && !process.start(kit::toolPath("standin-taskbar\\cv-taskbar.exe"), arguments))
        return nullptr;
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
    std::ofstream out(path, std::ios::binary);
    return static_cast<bool>(out << text);
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

void MessageBoxWatcher::run() {
    for (; !stop_; Sleep(10)) {
        HWND box = tray::dialogOf(GetCurrentProcessId(), caption_.c_str());
        if (!box) continue;
        const std::vector<std::string> texts = tray::staticTexts(box);
        if (!texts.empty()) strncpy(text_, texts.back().c_str(), sizeof(text_) - 1);
        ++count_;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        while (!stop_ && IsWindow(box))
            Sleep(10);
    }
}

} // namespace standin
