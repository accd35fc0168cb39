// cv-taskbar.exe: a stand-in for a taskbar that keeps its task buttons as the items of a tab control, for
// tests and for running the bar on a desktop whose own taskbar has none. It builds the window tree
//   Shell_TrayWnd > ReBarWindow32 > MSTaskSwWClass > SysTabControl32
// and keeps one tab item per task window (visible, unowned, not a tool window, of another process), with
// the window's handle as the item's lParam. Like a taskbar it adds items only for windows that appear and
// drops the items of windows that are gone: an item deleted behind its back stays deleted.
//
//   cv-taskbar.exe [--manual] [--interval MS] [--no-tab-control] [--announce] [--hidden] [--ready-file PATH]
//
//   --manual          no polling: the items change only on the messages of standin_taskbar.h
//   --interval MS     polling period (default 100); each change is followed by a layout, that is,
//                     TCM_GETITEMCOUNT sent to the tab control
//   --no-tab-control  a task list without a tab control (a taskbar of another kind)
//   --announce        broadcast "TaskbarCreated" once the tree exists (a restarted taskbar)
//   --hidden          keep the tray window hidden (tests that click near the bottom edge); shown, it is a
//                     28-pixel strip along the bottom of the screen
//   --ready-file PATH create this (empty) file once the tree exists, for scripts that start the bar next
//
// The tray window is topmost and made last, so FindWindowA("Shell_TrayWnd", NULL) finds it rather than
// the hidden one that Wine's desktop keeps. WM_CLOSE to it ends the program.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "tools/standin-taskbar/standin_taskbar.h"

namespace {

constexpr const char* kTrayClass = "Shell_TrayWnd";
constexpr const char* kTaskListClass = "MSTaskSwWClass";
constexpr UINT_PTR kPollTimer = 1;

struct Options {
    bool manual = false;
    UINT interval = 100;
    bool tabControl = true;
    bool announce = false;
    bool hidden = false;
    const char* readyFile = nullptr;
};

struct Taskbar {
    HWND tray = nullptr;
    HWND tab = nullptr;
    std::vector<HWND> known; // windows that have had an item, in the order they appeared
    LONG countQueries = 0;
};

Taskbar taskbar;

// The notification area: the icons programs add with Shell_NotifyIcon, which reaches the Shell_TrayWnd
// that FindWindow finds as WM_COPYDATA. The record begins with the owner window (32 bits) and the icon id;
// dwData is the NIM_ code. Only the identity is kept: tests ask whether an icon is there.
struct TrayIcon {
    HWND window;
    UINT id;
};
std::vector<TrayIcon> trayIcons;

int findTrayIcon(HWND window, UINT id) {
    for (size_t i = 0; i < trayIcons.size(); ++i)
        if (trayIcons[i].window == window && trayIcons[i].id == id) return static_cast<int>(i);
    return -1;
}

LRESULT onTrayIconData(const COPYDATASTRUCT* data) {
    struct Head {
        LONG window;
        UINT id;
    };
    if (!data || data->cbData < sizeof(Head) || !data->lpData) return FALSE;
    const auto* head = static_cast<const Head*>(data->lpData);
    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(head->window));
    int index = findTrayIcon(window, head->id);
    // The answers of a shell: adding a present icon, or changing or deleting an absent one, fails.
    switch (data->dwData) {
    case NIM_ADD:
        if (index >= 0) return FALSE;
        trayIcons.push_back({window, head->id});
        return TRUE;
    case NIM_MODIFY:
        return index >= 0;
    case NIM_DELETE:
        if (index < 0) return FALSE;
        trayIcons.erase(trayIcons.begin() + index);
        return TRUE;
    default:
        return index >= 0;
    }
}

bool isTaskWindow(HWND hwnd) {
    if (!IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER)) return false;
    if (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid != GetCurrentProcessId();
}

BOOL CALLBACK collectTaskWindow(HWND hwnd, LPARAM param) {
    if (isTaskWindow(hwnd)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

// Index of the item that carries the window, or -1. Reads items one by one: asking for the count would
// look like a layout.
int findItem(HWND window) {
    for (int i = 0;; ++i) {
        TCITEMA item{};
        item.mask = TCIF_PARAM;
        if (!SendMessageA(taskbar.tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item))) return -1;
        if (reinterpret_cast<HWND>(item.lParam) == window) return i;
    }
}

int itemCount() {
    int n = 0;
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    while (SendMessageA(taskbar.tab, TCM_GETITEMA, n, reinterpret_cast<LPARAM>(&item)))
        ++n;
    return n;
}

void addItem(HWND window) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = title;
    item.lParam = reinterpret_cast<LPARAM>(window);
    SendMessageA(taskbar.tab, TCM_INSERTITEMA, itemCount(), reinterpret_cast<LPARAM>(&item));
}

// Returns whether the list of task windows changed.
bool syncItems() {
    std::vector<HWND> now;
    EnumWindows(collectTaskWindow, reinterpret_cast<LPARAM>(&now));
    bool changed = false;
    for (size_t i = taskbar.known.size(); i-- > 0;) {
        HWND window = taskbar.known[i];
        if (std::find(now.begin(), now.end(), window) != now.end()) continue;
        int index = taskbar.tab ? findItem(window) : -1;
        if (index >= 0) SendMessageA(taskbar.tab, TCM_DELETEITEM, index, 0);
        taskbar.known.erase(taskbar.known.begin() + i);
        changed = true;
    }
    // EnumWindows goes from the top of the z-order down: the oldest window comes last.
    for (auto it = now.rbegin(); it != now.rend(); ++it) {
        if (std::find(taskbar.known.begin(), taskbar.known.end(), *it) != taskbar.known.end()) continue;
        taskbar.known.push_back(*it);
        if (taskbar.tab) addItem(*it);
        changed = true;
    }
    return changed;
}

LRESULT layOut() {
    return taskbar.tab ? SendMessageA(taskbar.tab, TCM_GETITEMCOUNT, 0, 0) : 0;
}

LRESULT onSync(bool layOutOnChange) {
    if (syncItems() && layOutOnChange) layOut();
    return taskbar.tab ? itemCount() : 0;
}

LRESULT CALLBACK tabSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == TCM_GETITEMCOUNT) InterlockedIncrement(&taskbar.countQueries);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK trayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        onSync(true);
        return 0;
    case standin::kHasItem:
        return taskbar.tab && findItem(reinterpret_cast<HWND>(wParam)) >= 0;
    case standin::kItemCount:
        return taskbar.tab ? itemCount() : 0;
    case standin::kSync:
        return onSync(wParam != 0);
    case standin::kLayOut:
        return layOut();
    case WM_COPYDATA:
        return onTrayIconData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case standin::kHasTrayIcon:
        return findTrayIcon(reinterpret_cast<HWND>(wParam), static_cast<UINT>(lParam)) >= 0;
    case standin::kCountQueries:
        return taskbar.countQueries;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--manual") == 0) {
            options.manual = true;
        } else if (strcmp(argv[i], "--interval") == 0 && i + 1 < argc) {
            options.interval = static_cast<UINT>(atoi(argv[++i]));
        } else if (strcmp(argv[i], "--no-tab-control") == 0) {
            options.tabControl = false;
        } else if (strcmp(argv[i], "--announce") == 0) {
            options.announce = true;
        } else if (strcmp(argv[i], "--hidden") == 0) {
            options.hidden = true;
        } else if (strcmp(argv[i], "--ready-file") == 0 && i + 1 < argc) {
            options.readyFile = argv[++i];
        } else {
            return false;
        }
    }
    return options.interval > 0;
}

bool registerClass(const char* name, WNDPROC proc) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

bool buildTree(const Options& options) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    int width = GetSystemMetrics(SM_CXSCREEN), height = 28;
    int top = GetSystemMetrics(SM_CYSCREEN) - height;
    taskbar.tray =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTrayClass, "", WS_POPUP | WS_CLIPCHILDREN, 0, top,
                        width, height, nullptr, nullptr, instance, nullptr);
    if (!taskbar.tray) return false;
    HWND rebar = CreateWindowExA(0, REBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER,
                                 0, 0, width, height, taskbar.tray, nullptr, instance, nullptr);
    if (!rebar) return false;
    HWND taskList = CreateWindowExA(0, kTaskListClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                    width, height, rebar, nullptr, instance, nullptr);
    if (!taskList) return false;
    if (options.tabControl) {
        taskbar.tab =
            CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | TCS_BUTTONS | TCS_FIXEDWIDTH, 0, 0,
                            width, height, taskList, nullptr, instance, nullptr);
        if (!taskbar.tab || !SetWindowSubclass(taskbar.tab, tabSubclassProc, 1, 0)) return false;
    }
    if (!options.hidden) ShowWindow(taskbar.tray, SW_SHOWNOACTIVATE);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) return 2;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    if (!registerClass(kTrayClass, trayProc) || !registerClass(kTaskListClass, DefWindowProcA)) return 3;
    if (!buildTree(options)) return 3;
    onSync(true);
    if (!options.manual) SetTimer(taskbar.tray, kPollTimer, options.interval, nullptr);
    if (options.readyFile) {
        HANDLE ready = CreateFileA(options.readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    }
    if (options.announce) PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
