#include "colour_test_support.h"

#include <commctrl.h>

#include "gdi_table.h"

#include <cstdio>
#include <vector>

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

bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void settle() {
    // Input from SendInput reaches the queue through the server: a few short rounds let it all arrive.
    for (int i = 0; i < 5; ++i) {
        waitFor([] { return false; }, 20);
    }
}

namespace {
INPUT mouseAt(int x, int y, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}
} // namespace

void moveMouse(int x, int y) {
    INPUT in = mouseAt(x, y, 0);
    SendInput(1, &in, sizeof(INPUT));
    waitFor(
        [&] {
            POINT p{};
            GetCursorPos(&p);
            return p.x == x && p.y == y;
        },
        1000);
    settle();
}

void click(int x, int y) {
    moveMouse(x, y);
    // Each event carries its position, so that no late motion of the pointer can move the click.
    INPUT in[2] = {mouseAt(x, y, MOUSEEVENTF_LEFTDOWN), mouseAt(x, y, MOUSEEVENTF_LEFTUP)};
    SendInput(2, in, sizeof(INPUT));
    settle();
}

void pressKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    settle();
}

RECT windowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

POINT centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

COLORREF screenPixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
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

bool saveScreen(const RECT& area, const char* path) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((w * 3 + 3) / 4) * 4, size = stride * h;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + size;
    bool ok = false;
    if (FILE* f = std::fopen(path, "wb")) {
        ok = std::fwrite(&file, sizeof(file), 1, f) == 1 &&
             std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, f) == 1 &&
             std::fwrite(bits, size, 1, f) == 1;
        std::fclose(f);
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

} // namespace colourtest
