#include "kit/browsers.h"

#include <commctrl.h>

#include "core/browser_classes.h"

namespace e2e {

namespace {
HWND g_reportTo = nullptr;

// The bar's shell hook reports creation and destruction by itself, posted. A window of a tracked class waits
// for that report, so that a test goes on with the bar's list settled; one the hook did not report (opened
// while no bar ran) is reported here as the hook would. One tool per listed window tells which happened.
constexpr DWORD kHookReportMs = 2000;

bool trackedClass(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return core::isClassicTrackedClass(name, true);
}

bool hookReported(HWND bar, int toolsBefore) {
    return kit::waitFor([&] { return toolCount(bar) != toolsBefore; }, kHookReportMs);
}

void registerClass(const char* name) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

} // namespace

TestBrowsers::~TestBrowsers() {
    for (HWND w : windows_)
        if (IsWindow(w)) DestroyWindow(w);
    g_reportTo = nullptr;
}

void TestBrowsers::setBar(HWND bar) {
    bar_ = bar;
    g_reportTo = bar;
}

HWND TestBrowsers::open(const std::string& title, const char* className, bool announce, int x, int y) {
    registerClass(className);
    g_reportTo = bar_;
    int before = bar_ ? toolCount(bar_) : -1;
    HWND w = CreateWindowExA(0, className, title.c_str(), WS_OVERLAPPEDWINDOW, x, y, 300, 200, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!w) return nullptr;
    windows_.push_back(w);
    // The hook reports a creation from inside CreateWindowEx, before the window is shown.
    if (bar_ && trackedClass(w) && !hookReported(bar_, before) && announce) shellEvent(bar_, w, kCreated);
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    kit::pump();
    return w;
}

void TestBrowsers::close(HWND window) {
    if (!IsWindow(window)) return;
    const bool tracked = trackedClass(window);
    const int before = g_reportTo ? toolCount(g_reportTo) : -1;
    DestroyWindow(window);
    kit::pump();
    if (tracked && before > 0 && !hookReported(g_reportTo, before))
        shellEvent(g_reportTo, window, kDestroyed);
}

LRESULT shellEvent(HWND bar, HWND window, LPARAM code) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(bar, cvsh::kShellEventMessage, reinterpret_cast<WPARAM>(window), code,
                             SMTO_NORMAL, 5000, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

HWND barToolTips(HWND bar) {
    // The bar's own picture buttons have tool tips of their own, also owned by the bar; only the browser
    // buttons' tool tip control has TTS_NOPREFIX.
    for (HWND w = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); w;
         w = FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr))
        if (GetWindow(w, GW_OWNER) == bar && (GetWindowLongPtrA(w, GWL_STYLE) & TTS_NOPREFIX)) return w;
    return nullptr;
}

int toolCount(HWND bar) {
    HWND tips = barToolTips(bar);
    return tips ? static_cast<int>(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0)) : -1;
}

POINT clientToScreen(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

bool buttonTextDrawnAs(HWND bar, const RECT& text, const std::string& utf8, const std::string& face,
                       int fontHeight) {
    const SIZE size{text.right - text.left, text.bottom - text.top};
    const POINT origin = clientToScreen(bar, {text.left, text.top});
    const std::vector<COLORREF> want =
        kit::renderButtonText(utf8, size, GetSysColor(COLOR_BTNFACE), 0, face, fontHeight);
    return kit::waitFor(
        [&] {
            std::vector<COLORREF> drawn =
                kit::screenPixels({origin.x, origin.y, origin.x + size.cx, origin.y + size.cy});
            for (int y = 1; y < size.cy - 1; ++y)
                for (int x = 0; x < size.cx; ++x) {
                    const size_t i = static_cast<size_t>(y * size.cx + x);
                    if (drawn[i] != want[i]) return false;
                }
            return true;
        },
        3000);
}

bool waitForeground(HWND window, DWORD timeoutMs) {
    return kit::waitFor([&] { return GetForegroundWindow() == window; }, timeoutMs);
}

bool bringToFront(HWND window, DWORD timeoutMs) {
    return kit::waitFor(
        [&] { return GetForegroundWindow() == window || (SetForegroundWindow(window), false); }, timeoutMs);
}

} // namespace e2e
