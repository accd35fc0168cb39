// The bar program built for tests that must see faults a normal build hides:
// - freed memory leaves the process at once: every allocation of the C++ runtime gets pages of its own,
//   decommitted (never reused) when freed, so any use of a deleted object faults instead of reading
//   intact stale bytes;
// - the bar's tool tip control checks each tool record it is handed: one larger than the version-5
//   common controls accept makes the program end with kOversizedRecord instead of its own exit code;
// - a monitor other than the primary one has the DPI a test writes (Wine gives every monitor the one DPI).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <new>

#include "app/app.h"
#include "app/bar_window.h"
#include "app/platform_seams.h"
#include "win/dpi.h"

namespace {

constexpr int kOversizedRecord = 3;
bool g_oversized = false;

void* pagesOfItsOwn(std::size_t size) noexcept {
    return VirtualAlloc(nullptr, size ? size : 1, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void decommit(void* p) noexcept {
    // The range stays reserved, so no later allocation can hand the same address out again.
    if (p) VirtualFree(p, 0, MEM_DECOMMIT);
}

// The messages whose lParam is a tool record.
constexpr UINT kToolMessages[] = {
    TTM_ADDTOOLA,        TTM_ADDTOOLW,       TTM_DELTOOLA,     TTM_DELTOOLW,     TTM_NEWTOOLRECTA,
    TTM_NEWTOOLRECTW,    TTM_GETTOOLINFOA,   TTM_GETTOOLINFOW, TTM_SETTOOLINFOA, TTM_SETTOOLINFOW,
    TTM_UPDATETIPTEXTA,  TTM_UPDATETIPTEXTW, TTM_ENUMTOOLSA,   TTM_ENUMTOOLSW,   TTM_GETCURRENTTOOLA,
    TTM_GETCURRENTTOOLW, TTM_GETTEXTA,       TTM_GETTEXTW,     TTM_TRACKACTIVATE};

const TTTOOLINFOA* toolRecordOf(UINT msg, LPARAM lParam) {
    const bool carriesRecord =
        std::find(std::begin(kToolMessages), std::end(kToolMessages), msg) != std::end(kToolMessages);
    return carriesRecord ? reinterpret_cast<const TTTOOLINFOA*>(lParam) : nullptr;
}

LRESULT CALLBACK checkToolRecords(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    // The W record's version-2 size is the same as the A record's.
    const TTTOOLINFOA* record = toolRecordOf(msg, lParam);
    if (record && record->cbSize > TTTOOLINFOA_V2_SIZE) g_oversized = true;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// Read at every question, so that a test may change it while the bar runs.
int otherMonitorsDpiOfTheTest(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    DWORD dpi = 0, size = sizeof(dpi);
    const bool primary = GetMonitorInfoW(monitor, &info) && (info.dwFlags & MONITORINFOF_PRIMARY);
    if (primary || RegGetValueA(HKEY_CURRENT_USER, "Software\\Corvane! probe", "Other monitors DPI",
                                RRF_RT_REG_DWORD, nullptr, &dpi, &size) != ERROR_SUCCESS)
        return win::monitorDpi(monitor);
    return static_cast<int>(dpi);
}

void watchBarToolTips() {
    HWND bar = FindWindowA(nullptr, app::kBarTitle);
    DWORD process = 0;
    GetWindowThreadProcessId(bar, &process);
    if (process != GetCurrentProcessId()) return;
    auto* window = static_cast<app::BarWindow*>(win::Window::fromHandle(bar));
    if (window && window->toolTipWindow()) SetWindowSubclass(window->toolTipWindow(), checkToolRecords, 1, 0);
}

} // namespace

void* operator new(std::size_t size) {
    if (void* p = pagesOfItsOwn(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return pagesOfItsOwn(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return pagesOfItsOwn(size);
}
void operator delete(void* p) noexcept {
    decommit(p);
}
void operator delete[](void* p) noexcept {
    decommit(p);
}
void operator delete(void* p, std::size_t) noexcept {
    decommit(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    decommit(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    decommit(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    decommit(p);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    app::readMonitorDpiWith(otherMonitorsDpiOfTheTest);
    if (!app::startProgram()) return 0;
    watchBarToolTips();
    const int code = app::runMessageLoop();
    return g_oversized ? kOversizedRecord : code;
}
