#include "colour_test_support.h"

#include <commctrl.h>

#include "gdi_table.h"

namespace colourtest {

INT_PTR TestDialog::dialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= controls::WM_COLOUR_TRACK && msg <= controls::WM_COLOUR_CANCEL) {
        Note n{msg, wParam, lParam};
        notes.push_back(n);
        if (onNote) onNote(n);
        return TRUE;
    }
    if (msg == kDestroyMessage) {
        DestroyWindow(hwnd());
        return TRUE;
    }
    return msg == WM_INITDIALOG;
}

RECT windowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

POINT centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

namespace {
struct TipSearch {
    HWND popup;
    HWND found;
};
BOOL CALLBACK findTip(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<TipSearch*>(param);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof(cls));
    if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && GetWindow(hwnd, GW_OWNER) == s->popup) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND toolTipOf(HWND popup) {
    TipSearch s{popup, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), findTip, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

RECT cellOnScreen(HWND popup, int index) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = popup;
    tool.uId = static_cast<UINT_PTR>(index) + 1;
    SendMessageA(toolTipOf(popup), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
    RECT r = tool.rect;
    MapWindowPoints(popup, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

long gdiObjectCount() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
    return gditable::objectsInUse(GetCurrentProcessId());
}

} // namespace colourtest
