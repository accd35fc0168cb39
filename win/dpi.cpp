#include "win/dpi.h"

#include "core/dpi_scale.h"
#include "win/gdi.h"
#include "win/system_library.h"

namespace win {

namespace {
template <class Function> Function user32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                  : nullptr;
}

// The context handle values are fixed by the system's ABI; older headers may not define them.
const auto kPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const auto kPerMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
} // namespace

void requestPerMonitorDpi() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (auto set = user32Function<SetContext>("SetProcessDpiAwarenessContext")) {
        if (set(kPerMonitorV2) || set(kPerMonitor)) return;
    }
    using SetAware = BOOL(WINAPI*)();
    if (auto aware = user32Function<SetAware>("SetProcessDPIAware")) aware();
}

int windowDpi(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = user32Function<ForWindow>("GetDpiForWindow");
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
    }
    return systemDpi();
}

int monitorDpi(HMONITOR monitor) {
    // MDT_EFFECTIVE_DPI is 0; the library is the system's and stays loaded for the process.
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto forMonitor = [] {
        HMODULE shcore = loadSystemLibrary(L"shcore.dll");
        return shcore ? reinterpret_cast<ForMonitor>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && y > 0)
        return static_cast<int>(y);
    return systemDpi();
}

RECT scaledRect(const RECT& r, int dpi) {
    return {core::scaleForDpi(r.left, dpi), core::scaleForDpi(r.top, dpi), core::scaleForDpi(r.right, dpi),
            core::scaleForDpi(r.bottom, dpi)};
}

int systemDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

} // namespace win
