#include "kit/tray.h"

#include "kit/bar.h"

#include <commctrl.h>
#include <shellapi.h>

namespace tray {

namespace {
NOTIFYICONDATAA iconData(HWND bar) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = bar;
    nid.uID = kTrayIconId;
    return nid;
}

} // namespace

bool iconPresent(HWND bar) {
    NOTIFYICONDATAA nid = iconData(bar);
    nid.uFlags = 0; // a modification that changes nothing succeeds only for an icon that exists
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

void dropIcon(HWND bar) {
    NOTIFYICONDATAA nid = iconData(bar);
    Shell_NotifyIconA(NIM_DELETE, &nid);
}

bool bottomStripReserved() {
    return e2e::bottomOfferedToANewcomer() < GetSystemMetrics(SM_CYSCREEN);
}

HWND popupMenu() {
    auto menus = kit::topLevelWindows("#32768", nullptr);
    return menus.empty() ? nullptr : menus.front();
}

HWND waitPopupMenu(DWORD timeoutMs) {
    HWND menu = nullptr;
    kit::waitFor([&] { return (menu = popupMenu()) != nullptr; }, timeoutMs);
    return menu;
}

HWND openIconMenu(HWND bar) {
    PostMessageA(bar, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    return waitPopupMenu(10000);
}

bool pressAndRelease(HWND button) {
    RECT rc{};
    GetWindowRect(button, &rc);
    if (!kit::moveTo((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2)) return false;
    kit::leftDown();
    const bool pressed =
        kit::waitFor([&] { return (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, 3000);
    kit::leftUp();
    return pressed;
}

std::vector<std::string> menuItems(HWND bar, HWND menuWindow) {
    std::vector<std::string> items;
    static HMODULE reader = LoadLibraryA("menu_reader.dll");
    if (!reader) return items;
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(reader, "readMenuHook")));
    auto text =
        reinterpret_cast<const char* (*)()>(reinterpret_cast<void*>(GetProcAddress(reader, "menuText")));
    if (!hook || !text) return items;
    HHOOK h = SetWindowsHookExA(WH_CALLWNDPROC, hook, reader, GetWindowThreadProcessId(bar, nullptr));
    if (!h) return items;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(bar, RegisterWindowMessageA("CorvaneTestReadMenu"), 0,
                        reinterpret_cast<LPARAM>(menuWindow), SMTO_BLOCK, 3000, &ignored);
    UnhookWindowsHookEx(h);
    std::string all = text();
    size_t start = 0;
    for (size_t nl; (nl = all.find('\n', start)) != std::string::npos; start = nl + 1)
        items.push_back(all.substr(start, nl - start));
    return items;
}

HWND dialogOf(DWORD processId, const char* caption) {
    auto dialogs = kit::topLevelWindows("#32770", caption, processId);
    return dialogs.empty() ? nullptr : dialogs.front();
}

std::vector<std::string> staticTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = {}, text[512] = {};
        GetClassNameA(c, cls, sizeof(cls));
        if (lstrcmpiA(cls, "Static") != 0) continue;
        if ((GetWindowLongPtrA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        GetWindowTextA(c, text, sizeof(text));
        if (text[0]) texts.emplace_back(text);
    }
    return texts;
}

std::string shownToolTip(DWORD processId) {
    for (HWND tip : kit::topLevelWindows(TOOLTIPS_CLASSA, nullptr, processId)) {
        // A tool tip keeps no caption of its own: it answers WM_GETTEXT with the tip it shows.
        wchar_t wide[256] = {};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(tip, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(wide), SMTO_BLOCK, 2000, &ignored);
        // UTF-8, as the bar keeps its text.
        char text[768] = {};
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        if (text[0]) return text;
    }
    return {};
}

HWND windowTitled(const char* title) {
    auto found = kit::topLevelWindows(nullptr, title);
    return found.empty() ? nullptr : found.front();
}

void closeWindowsTitled(const char* title) {
    for (HWND w = FindWindowA(nullptr, title); w; w = FindWindowA(nullptr, title)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        PostMessageA(w, WM_CLOSE, 0, 0);
        if (HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, pid)) {
            WaitForSingleObject(p, 3000);
            CloseHandle(p);
        }
        if (IsWindow(w)) break; // it would not close: do not spin
    }
}

} // namespace tray
