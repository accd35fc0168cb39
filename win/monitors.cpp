#include "win/monitors.h"

#include "win/text.h"

namespace win {

namespace {
BOOL CALLBACK collectMonitor(HMONITOR handle, HDC, LPRECT, LPARAM param) {
    MONITORINFOEXW mi{};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoW(handle, &mi)) return TRUE;
    Monitor m;
    m.handle = handle;
    m.info.device = narrow(mi.szDevice);
    m.info.rect = {mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right, mi.rcMonitor.bottom};
    m.info.primary = (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
    reinterpret_cast<std::vector<Monitor>*>(param)->push_back(std::move(m));
    return TRUE;
}
} // namespace

std::vector<Monitor> displayMonitors() {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

core::ScreenSize virtualScreenReach() {
    return {GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

} // namespace win
