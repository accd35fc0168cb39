#include "win/system_library.h"

#include <string>

namespace win {

namespace {
// The flag's value is fixed by the system's ABI; older headers may not define it.
constexpr DWORD kSearchSystem32 = 0x00000800;
// Whether the search is restricted: then a library's own imports are searched in the system folder too.
bool g_restricted = false;
} // namespace

void restrictLibrarySearch() {
    SetDllDirectoryW(L"");
    using SetDefault = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto set = kernel ? reinterpret_cast<SetDefault>(
                                  reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                            : nullptr;
    g_restricted = set && set(kSearchSystem32);
}

HMODULE loadSystemLibrary(const wchar_t* fileName) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + fileName;
    // Unrestricted, what the library itself imports is searched from its own folder first, not the program's.
    return LoadLibraryExW(path.c_str(), nullptr, g_restricted ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

namespace {
template <class Function> Function commonControl(const char* name) {
    static HMODULE library = loadSystemLibrary(L"comctl32.dll");
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                   : nullptr;
}
} // namespace

BOOL initCommonControls(const INITCOMMONCONTROLSEX& classes) {
    static const auto init =
        commonControl<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>("InitCommonControlsEx");
    return init ? init(&classes) : FALSE;
}

BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    static const auto set =
        commonControl<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR)>("SetWindowSubclass");
    return set ? set(window, procedure, id, data) : FALSE;
}

BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    static const auto remove =
        commonControl<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR)>("RemoveWindowSubclass");
    return remove ? remove(window, procedure, id) : FALSE;
}

LRESULT defSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    static const auto next = commonControl<LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM)>("DefSubclassProc");
    return next ? next(window, msg, wParam, lParam) : DefWindowProcW(window, msg, wParam, lParam);
}

} // namespace win
