// menu_reader.dll: lets a test read the popup menu another process shows. Wine keeps a menu's items in
// the process that made it, so the test hooks the bar's thread with readMenuHook (WH_CALLWNDPROC) and sends
// the bar the registered message "CorvaneTestReadMenu" with the menu window in lParam; the hook, running in
// the bar's process, writes the items into this library's shared section, which the test reads with
// menuText(). One line per item: "-" for a separator, a tab before each item of a submenu.
#include <windows.h>

namespace {
constexpr int kTextSize = 16384;
__attribute__((section(".shared"), shared)) char g_text[kTextSize] = {0};
int g_length = 0;

void append(const char* s) {
    while (*s && g_length < kTextSize - 1)
        g_text[g_length++] = *s++;
    g_text[g_length] = 0;
}

void readMenu(HMENU menu, bool nested) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        if (nested) append("\t");
        if (info.fType & MFT_SEPARATOR) {
            append("-\n");
            continue;
        }
        // Read wide and kept as UTF-8, so items outside the ANSI code page come through whole.
        wchar_t wide[512] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), wide, 512, MF_BYPOSITION);
        char text[1536] = {};
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        append(text);
        append("\n");
        if (info.hSubMenu && !nested) readMenu(info.hSubMenu, true);
    }
}
} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK readMenuHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT request = RegisterWindowMessageA("CorvaneTestReadMenu");
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call && call->message == request) {
        g_length = 0;
        g_text[0] = 0;
        HWND menuWindow = reinterpret_cast<HWND>(call->lParam);
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        if (menu) readMenu(menu, false);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) const char* menuText() {
    return g_text;
}
