#include "app/browser_windows.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "core/browser_rules.h"
#include "win/handle.h"
#include "win/system_library.h"
#include "win/text.h"

namespace app {

namespace {
// The window attribute that tells whether the compositor hides a window (on another virtual desktop, or a
// window made in advance and not yet shown).
constexpr DWORD kCloakedAttribute = 14;
using GetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

// dwmapi.dll is not on every system: it is loaded when first needed, and a system without it cloaks nothing.
GetWindowAttribute windowAttributeReader() {
    static GetWindowAttribute reader = [] {
        HMODULE dwm = win::loadSystemLibrary(L"dwmapi.dll");
        FARPROC proc = dwm ? GetProcAddress(dwm, "DwmGetWindowAttribute") : nullptr;
        return reinterpret_cast<GetWindowAttribute>(reinterpret_cast<void*>(proc));
    }();
    return reader;
}

std::string readImage(HANDLE process) {
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameW(process, 0, path, &size)) return {};
    return win::narrow(std::wstring_view(path, size));
}

// Each program's path, read once while its process is known. Opening a process and asking for its file
// costs several calls to the system, for every listing and for every event of a window of today's browsers.
// The process stays open while its path is kept: the system gives its id to no other process meanwhile, so
// the id cannot bring up another program's path.
class ProgramPaths {
  public:
    std::string of(HWND window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == 0) return {};
        auto known =
            std::find_if(known_.begin(), known_.end(), [pid](const Known& k) { return k.pid == pid; });
        if (known != known_.end()) return known->path;
        win::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
        if (!process) return {};
        std::string path = readImage(process.get());
        if (path.empty()) return {};
        forgetEnded();
        known_.push_back({pid, std::move(process), path});
        return path;
    }

  private:
    struct Known {
        DWORD pid;
        win::KernelHandle process;
        std::string path;
    };

    // Looked at only when a new process comes: ended ones are let go, and the oldest beyond a bound.
    void forgetEnded() {
        known_.erase(std::remove_if(known_.begin(), known_.end(),
                                    [](const Known& k) {
                                        DWORD code = 0;
                                        return !GetExitCodeProcess(k.process.get(), &code) ||
                                               code != STILL_ACTIVE;
                                    }),
                     known_.end());
        if (known_.size() >= kMaxKnown) known_.erase(known_.begin());
    }

    static constexpr std::size_t kMaxKnown = 32;
    std::vector<Known> known_;
};

class SystemWindowReader final : public WindowReader {
  public:
    std::string className(HWND window) const override {
        // Any longer name is not one of ours; a cut one cannot match either.
        char name[256] = {};
        return GetClassNameA(window, name, sizeof(name)) > 0 ? name : "";
    }

    std::string processImage(HWND window) const override { return programs_.of(window); }

    bool visible(HWND window) const override { return IsWindowVisible(window) != 0; }

    bool taskbarStyle(HWND window) const override {
        const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
        const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
        if (exStyle & WS_EX_TOOLWINDOW) return false;
        if (GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_APPWINDOW)) return false;
        return (style & WS_CAPTION) == WS_CAPTION;
    }

    // In full: today's browsers' suffixes have characters outside any code page (Edge's zero-width space).
    std::string text(HWND window) const override { return win::storedWindowText(window); }

    bool cloaked(HWND window) const override {
        GetWindowAttribute read = windowAttributeReader();
        DWORD cloaked = 0;
        return read && SUCCEEDED(read(window, kCloakedAttribute, &cloaked, sizeof(cloaked))) && cloaked != 0;
    }

    HMONITOR monitor(HWND window) const override {
        return MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    }

    bool rectangle(HWND window, core::Rect* rect) const override {
        RECT r;
        if (!GetWindowRect(window, &r)) return false;
        *rect = {r.left, r.top, r.right, r.bottom};
        return true;
    }

  private:
    // The reader is shared and read-only to its users; what it remembers changes no answer.
    mutable ProgramPaths programs_;
};
} // namespace

const WindowReader& systemWindowReader() {
    static const SystemWindowReader reader;
    return reader;
}

bool openDefaultBrowserInstead(const std::string& commandLine) {
    std::string program(core::builtInBrowserProgram(commandLine));
    if (program.empty() || GetFileAttributesA(program.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    // The program that opens web addresses, started without one: a new window on its start page.
    char browser[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (FAILED(AssocQueryStringA(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, "http", "open", browser, &size)))
        return false;
    auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", browser, nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

} // namespace app
