#include "app/platform_seams.h"

#include <commctrl.h>

#include <string>

#include "app/app.h"
#include "core/dpi_scale.h"
#include "win/dpi.h"
#include "win/handle.h"
#include "win/text.h"

namespace app {

namespace {
constexpr DWORD kMessageFilterAllow = 1; // MSGFLT_ALLOW
// The widest line of the bitness notice, in 96-DPI units.
constexpr int kNoticeWidth = 360;

MonitorDpiReader g_monitorDpi = nullptr;

template <class Function> Function systemFunction(const wchar_t* module, const char* name) {
    HMODULE library = GetModuleHandleW(module);
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                   : nullptr;
}

bool processElevated() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    win::KernelHandle token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size) &&
           elevation.TokenIsElevated != 0;
}

core::BitnessAnswer processBitness() {
    core::BitnessAnswer answer;
    using Machines = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    using Wow64 = BOOL(WINAPI*)(HANDLE, BOOL*);
    if (auto machines = systemFunction<Machines>(L"kernel32.dll", "IsWow64Process2")) {
        USHORT process = 0, native = 0;
        if (machines(GetCurrentProcess(), &process, &native)) {
            answer.hasMachines = true;
            answer.processMachine = process;
            answer.nativeMachine = native;
            return answer;
        }
    }
    BOOL wow64 = FALSE;
    if (auto older = systemFunction<Wow64>(L"kernel32.dll", "IsWow64Process"))
        answer.wow64 = older(GetCurrentProcess(), &wow64) && wow64;
    return answer;
}
} // namespace

PlatformSeams systemSeams() {
    using Allow = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    return {processElevated, systemFunction<Allow>(L"user32.dll", "ChangeWindowMessageFilterEx"),
            processBitness};
}

void readMonitorDpiWith(MonitorDpiReader reader) {
    g_monitorDpi = reader;
}

int monitorDpi(HMONITOR monitor) {
    const int dpi = g_monitorDpi ? g_monitorDpi(monitor) : win::monitorDpi(monitor);
    return core::isSaneDpi(dpi) ? dpi : win::systemDpi();
}

int admitMessagesFromOthers(HWND bar, UINT taskbarCreated, const PlatformSeams& seams) {
    if (!seams.allowMessage) return 0;
    int admitted = 0;
    for (uint32_t msg : core::messagesToAdmit(seams.elevated(), taskbarCreated))
        admitted += seams.allowMessage(bar, msg, kMessageFilterAllow, nullptr) ? 1 : 0;
    return admitted;
}

HWND tellBitness(HWND bar, POINT at, const PlatformSeams& seams) {
    if (!core::seesOnlyItsOwnBitness(seams.bitness())) return nullptr;
    HWND balloon = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_BALLOON | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, bar, nullptr, instance(), nullptr);
    if (!balloon) return nullptr;
    std::wstring text = win::widen(core::kBitnessNotice);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = bar;
    tool.lpszText = text.data();
    SendMessageW(balloon, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(balloon, TTM_SETMAXTIPWIDTH, 0, core::scaleForDpi(kNoticeWidth, win::windowDpi(bar)));
    SendMessageW(balloon, TTM_SETTITLEW, TTI_INFO,
                 reinterpret_cast<LPARAM>(win::widen(core::kBitnessNoticeTitle).c_str()));
    SendMessageW(balloon, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(balloon, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    return balloon;
}

} // namespace app
