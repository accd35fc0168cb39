// cv-browser.exe: a stand-in browser for tests. Opens visible top-level windows of a chosen class, so that
// tests get deterministic "browser" or "folder" windows in a process of their own.
//
//   cv-browser.exe [--class NAME] [--title TEXT] [--count N] [--hidden] [--tool] [--owned]
//
//   --class   window class to register and open (default "IEFrame"; "CabinetWClass" or anything else)
//   --title   window title (default "Blank Page - Microsoft Internet Explorer"); with --count, every
//             window after the first gets " (2)", " (3)", ... appended. Read from the wide command line and
//             the windows are Unicode, so a title keeps characters outside the ANSI code page.
//   --count   number of windows in this process (default 1, at most 64)
//   --hidden  create the windows without showing them
//   --tool    give the windows the tool-window style (no taskbar button of their own)
//   --owned   make the windows owned by a hidden window of the same class
//
// Each window closes on WM_CLOSE; the process ends when its last window is gone. Exit code 0, or 2 for a
// bad command line, 3 when a window cannot be made. The messages tests send are in standin_browser.h.
#include <windows.h>

#include <shellapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tools/standin-browser/standin_browser.h"

namespace {

int openWindows = 0;

LRESULT CALLBACK browserProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY:
        if (--openWindows == 0) PostQuitMessage(0);
        return 0;
    case standin::kRaiseWinEvent:
        NotifyWinEvent(static_cast<DWORD>(wParam), hwnd, static_cast<LONG>(lParam), CHILDID_SELF);
        return 1;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

struct Options {
    const char* className = "IEFrame";
    const wchar_t* title = L"Blank Page - Microsoft Internet Explorer";
    wchar_t** wideArgs = nullptr;
    int count = 1;
    bool hidden = false;
    bool tool = false;
    bool owned = false;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        bool hasValue = i + 1 < argc;
        if (strcmp(argv[i], "--class") == 0 && hasValue) {
            options.className = argv[++i];
        } else if (strcmp(argv[i], "--title") == 0 && hasValue) {
            ++i;
            if (options.wideArgs) options.title = options.wideArgs[i];
        } else if (strcmp(argv[i], "--count") == 0 && hasValue) {
            options.count = atoi(argv[++i]);
        } else if (strcmp(argv[i], "--hidden") == 0) {
            options.hidden = true;
        } else if (strcmp(argv[i], "--tool") == 0) {
            options.tool = true;
        } else if (strcmp(argv[i], "--owned") == 0) {
            options.owned = true;
        } else {
            return false;
        }
    }
    return options.className[0] != '\0' && options.count >= 1 && options.count <= 64;
}

bool openWindow(const Options& options, int index, HWND owner) {
    wchar_t title[512];
    if (index == 0)
        _snwprintf(title, 512, L"%ls", options.title);
    else
        _snwprintf(title, 512, L"%ls (%d)", options.title, index + 1);
    title[511] = L'\0';
    wchar_t className[256] = {};
    MultiByteToWideChar(CP_ACP, 0, options.className, -1, className, 256);
    int offset = 30 * index;
    HWND hwnd = CreateWindowExW(options.tool ? WS_EX_TOOLWINDOW : 0, className, title, WS_OVERLAPPEDWINDOW,
                                100 + offset, 100 + offset, 400, 300, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return false;
    ++openWindows;
    if (!options.hidden) ShowWindow(hwnd, SW_SHOWNORMAL);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    int wideCount = 0;
    options.wideArgs = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    if (wideCount != argc) options.wideArgs = nullptr;
    if (!parse(argc, argv, options)) {
        fprintf(stderr, "usage: cv-browser.exe [--class NAME] [--title TEXT] [--count N] [--hidden] [--tool] "
                        "[--owned]\n");
        return 2;
    }
    // A Unicode window, as real browsers' are: a title set from outside keeps characters of no code page.
    wchar_t className[256] = {};
    MultiByteToWideChar(CP_ACP, 0, options.className, -1, className, 256);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = browserProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) return 3;
    HWND owner = nullptr;
    if (options.owned) {
        owner = CreateWindowExW(0, className, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        if (!owner) return 3;
        ++openWindows;
    }
    for (int i = 0; i < options.count; ++i)
        if (!openWindow(options, i, owner)) return 3;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
