#include "app/browser_windows.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "app/app.h"
#include "core/browser_rules.h"

namespace app {

namespace {
// The window attribute that tells whether the compositor hides a window (on another virtual desktop, or a
// window made in advance and not yet shown).
constexpr DWORD kCloakedAttribute = 14;
using GetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

// dwmapi.dll is not on every system: it is loaded when first needed, and a system without it cloaks nothing.
GetWindowAttribute windowAttributeReader() {
    static GetWindowAttribute reader = [] {
        HMODULE dwm = LoadLibraryA("dwmapi.dll");
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
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    BOOL ok = QueryFullProcessImageNameA(process, 0, path, &size);
    CloseHandle(process);
    return ok ? std::string(path, size) : std::string();
}

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

// The bar still draws its buttons in the system's code page.
std::string utf8ToBarText(const std::string& text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m > 0 ? m : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
    return out;
}
} // namespace

const core::BrowserProgram* otherBrowserProgram(HWND window, const char* className) {
    if (!settings().catchOtherBrowsers || !core::isOtherBrowserClass(className)) return nullptr;
    return core::otherBrowserOf(className, processImage(window));
}

const core::BrowserProgram* otherBrowserProgram(HWND window) {
    char name[256] = {};
    if (GetClassNameA(window, name, sizeof(name)) <= 0) return nullptr;
    return otherBrowserProgram(window, name);
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
    std::wstring text(256, L'\0');
    int got = 0;
    for (;;) {
        got = InternalGetWindowText(window, text.data(), static_cast<int>(text.size()));
        if (got < static_cast<int>(text.size()) - 1 || text.size() >= 32768) break;
        text.resize(text.size() * 2);
    }
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return utf8ToBarText(core::otherBrowserTitle(toUtf8(text), program));
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
