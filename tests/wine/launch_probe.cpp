// launch_probe.exe [--class NAME] [--busy MS] WORDS...: a program for the bar to launch in tests. It opens
// one visible top-level window titled with its words joined by spaces (of class NAME, "CorvaneLaunchProbe" by
// default), so a test sees that it ran and with which arguments, and ends when that window is closed. With
// --busy it is a program slow to start: for MS milliseconds it neither has a window nor reads input.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <string>

namespace {
LRESULT CALLBACK probeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const char* className = "CorvaneLaunchProbe";
    std::string title;
    DWORD busyMs = 0;
    for (int i = 1; i < __argc; ++i) {
        if (strcmp(__argv[i], "--class") == 0 && i + 1 < __argc)
            className = __argv[++i];
        else if (strcmp(__argv[i], "--busy") == 0 && i + 1 < __argc)
            busyMs = static_cast<DWORD>(atoi(__argv[++i]));
        else
            title += (title.empty() ? "" : " ") + std::string(__argv[i]);
    }
    Sleep(busyMs);
    WNDCLASSA wc{};
    wc.lpfnWndProc = probeProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, className, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 300,
                             200, nullptr, nullptr, instance, nullptr);
    if (!w) return 3;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
