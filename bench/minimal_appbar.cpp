// The fairer start-up yardstick: what any docked strip must do before its own work. It loads the system
// libraries the bar imports (their start-up under Wine is most of a program's), registers as an appbar on the
// screen's bottom edge as the bar does, and shows its window.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

namespace {
constexpr UINT kAppBarNotify = WM_USER + 2;
constexpr int kHeight = 24;

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        APPBARDATA abd{};
        abd.cbSize = sizeof(abd);
        abd.hWnd = hwnd;
        SHAppBarMessage(ABM_REMOVE, &abd);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void dock(HWND w) {
    APPBARDATA abd{};
    abd.cbSize = sizeof(abd);
    abd.hWnd = w;
    abd.uCallbackMessage = kAppBarNotify;
    SHAppBarMessage(ABM_NEW, &abd);
    abd.uEdge = ABE_BOTTOM;
    abd.rc = {0, GetSystemMetrics(SM_CYSCREEN) - kHeight, GetSystemMetrics(SM_CXSCREEN),
              GetSystemMetrics(SM_CYSCREEN)};
    SHAppBarMessage(ABM_QUERYPOS, &abd);
    abd.rc.top = abd.rc.bottom - kHeight;
    SetWindowPos(w, HWND_TOPMOST, abd.rc.left, abd.rc.top, abd.rc.right - abd.rc.left, kHeight, 0);
    SHAppBarMessage(ABM_SETPOS, &abd);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The libraries the bar imports: each is used once so that the linker keeps it.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) == ERROR_SUCCESS) RegCloseKey(key);
    DeleteObject(GetStockObject(DEFAULT_GUI_FONT));

    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "MinimalAppBarBench";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "MinimalAppBarBench", "Minimal appbar bench window", WS_POPUP,
                             0, 0, 100, kHeight, nullptr, nullptr, instance, nullptr);
    dock(w);
    ShowWindow(w, SW_SHOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
