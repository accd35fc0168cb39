#include "app/browser_windows.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "app/app.h"
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

bool isCloaked(HWND window) {
    GetWindowAttribute read = windowAttributeReader();
    DWORD cloaked = 0;
    return read && SUCCEEDED(read(window, kCloakedAttribute, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

std::string processImage(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    win::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    return win::narrow(std::wstring_view(path, size));
}

} // namespace

const core::BrowserProgram* otherBrowserProgram(HWND window, const char* className) {
    if (!settings().catchOtherBrowsers || !core::isOtherBrowserClass(className)) return nullptr;
    return core::otherBrowserOf(className, processImage(window));
}

bool wouldHaveTaskbarButton(HWND window) {
    if (!IsWindowVisible(window)) return false;
    const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    if (exStyle & WS_EX_TOOLWINDOW) return false;
    if (GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_APPWINDOW)) return false;
    if ((style & WS_CAPTION) != WS_CAPTION) return false;
    // These browsers show a window first and title it a moment later: an untitled one is not ready yet.
    wchar_t first[2] = {};
    if (InternalGetWindowText(window, first, 2) <= 0) return false;
    return !isCloaked(window);
}

std::string otherBrowserButtonText(HWND window, const core::BrowserProgram& program) {
    // Read in full (the suffixes have characters outside any code page: Edge's zero-width space), and
    // without a message to the window: a browser that does not answer cannot hold the bar.
    return core::otherBrowserTitle(win::storedWindowText(window), program);
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
