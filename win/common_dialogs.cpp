#include "win/common_dialogs.h"

#include "win/system_library.h"

namespace win {

namespace {
// Loaded once and kept: the dialogs may be opened again, and the process ends soon enough.
FARPROC dialogFunction(const char* name) {
    static HMODULE library = loadSystemLibrary(L"comdlg32.dll");
    return library ? GetProcAddress(library, name) : nullptr;
}

template <class Function> Function lookUp(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(dialogFunction(name)));
}
} // namespace

BOOL chooseColour(CHOOSECOLORA* choice) {
    static auto function = lookUp<BOOL(WINAPI*)(CHOOSECOLORA*)>("ChooseColorA");
    return function ? function(choice) : FALSE;
}

BOOL chooseFont(CHOOSEFONTW* choice) {
    static auto function = lookUp<BOOL(WINAPI*)(CHOOSEFONTW*)>("ChooseFontW");
    return function ? function(choice) : FALSE;
}

BOOL openFileName(OPENFILENAMEW* choice) {
    static auto function = lookUp<BOOL(WINAPI*)(OPENFILENAMEW*)>("GetOpenFileNameW");
    return function ? function(choice) : FALSE;
}

} // namespace win
