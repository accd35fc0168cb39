#include "tracking_support.h"

#include "core/browser_classes.h"
#include "x_keyboard.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <utility>

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
    return waitFor([&] { return toolCount(bar) != toolsBefore; }, kHookReportMs);
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

BOOL CALLBACK findTips(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<std::pair<HWND, HWND>*>(param);
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    // The bar's own picture buttons have tool tips of their own, also owned by the bar; only the browser
    // buttons' tool tip control has TTS_NOPREFIX.
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && GetWindow(window, GW_OWNER) == found->first &&
        (GetWindowLongPtrA(window, GWL_STYLE) & TTS_NOPREFIX)) {
        found->second = window;
        return FALSE;
    }
    return TRUE;
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
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
    pump();
    return w;
}

void TestBrowsers::close(HWND window) {
    if (!IsWindow(window)) return;
    const bool tracked = trackedClass(window);
    const int before = g_reportTo ? toolCount(g_reportTo) : -1;
    DestroyWindow(window);
    pump();
    if (tracked && before > 0 && !hookReported(g_reportTo, before)) shellEvent(g_reportTo, window, kDestroyed);
}

LRESULT shellEvent(HWND bar, HWND window, LPARAM code) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(bar, cvsh::kShellEventMessage, reinterpret_cast<WPARAM>(window), code,
                             SMTO_NORMAL, 5000, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

HWND barToolTips(HWND bar) {
    std::pair<HWND, HWND> found{bar, nullptr};
    EnumWindows(findTips, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

int toolCount(HWND bar) {
    HWND tips = barToolTips(bar);
    return tips ? static_cast<int>(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0)) : -1;
}

namespace {
// One mouse event at an absolute screen point: position and buttons travel together, so a press never lands
// where the pointer was before.
INPUT mouseAt(POINT screen, DWORD flags) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(screen.x) * 65536 + width / 2) / width);
    in.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(screen.y) * 65536 + height / 2) / height);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

void sendAt(POINT screen, std::initializer_list<DWORD> buttons) {
    std::vector<INPUT> in;
    for (DWORD b : buttons)
        in.push_back(mouseAt(screen, b));
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    pump();
}
} // namespace

void moveMouse(POINT screen) {
    sendAt(screen, {0});
}

void click(POINT screen, bool right) {
    if (right) {
        sendAt(screen, {0, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
    } else {
        sendAt(screen, {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    }
}

void doubleClick(POINT screen) {
    sendAt(screen, {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void shiftClick(POINT screen) {
    // Shift goes down in X too, or Wine would take it back when the pointer enters a window. The pointer
    // settles first; Shift and the press then travel in one batch.
    xkeyboard::holdShift(true);
    moveMouse(screen);
    // Two round trips through the thread under the pointer: it has read its X events by then.
    HWND under = WindowFromPoint(screen);
    DWORD_PTR ignored = 0;
    for (int i = 0; i < 2; ++i)
        SendMessageTimeoutA(under, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    std::vector<INPUT> in(3);
    in[0].type = INPUT_KEYBOARD;
    in[0].ki.wVk = VK_SHIFT;
    in[1] = mouseAt(screen, MOUSEEVENTF_LEFTDOWN);
    in[2] = mouseAt(screen, MOUSEEVENTF_LEFTUP);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    pump();
}

void pressShift(bool down) {
    xkeyboard::holdShift(down);
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof(in));
    pump();
}

POINT clientToScreen(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

COLORREF screenPixel(POINT screen) {
    std::vector<COLORREF> px = screenPixels({screen.x, screen.y, screen.x + 1, screen.y + 1});
    return px.empty() ? CLR_INVALID : px[0];
}

namespace {
std::vector<COLORREF> bitmapPixels(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> raw(static_cast<size_t>(width) * static_cast<size_t>(height));
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), raw.data(), &bi, DIB_RGB_COLORS);
    std::vector<COLORREF> out(raw.size());
    // DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
    std::transform(raw.begin(), raw.end(), out.begin(),
                   [](DWORD p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); });
    return out;
}
} // namespace

std::vector<COLORREF> screenPixels(const RECT& r) {
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    std::vector<COLORREF> out = bitmapPixels(mem, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

std::vector<COLORREF> renderButtonText(const std::string& text, SIZE size, COLORREF background, COLORREF colour,
                                       const std::string& face, int fontHeight) {
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
    // The bar's button font with the other font settings at their defaults.
    HFONT font = CreateFontW(fontHeight, 0, 0, 0, 400, 0, 0, 0, 1, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, wideOf(face).c_str());
    HGDIOBJ oldFont = SelectObject(mem, font);
    RECT all{0, 0, size.cx, size.cy};
    SetBkColor(mem, background);
    ExtTextOutA(mem, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, colour);
    const std::wstring wide = wideOf(text);
    DrawTextW(mem, wide.c_str(), static_cast<int>(wide.size()), &all,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBitmap);
    std::vector<COLORREF> out = bitmapPixels(mem, bitmap, size.cx, size.cy);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

bool buttonTextDrawnAs(HWND bar, const RECT& text, const std::string& utf8, const std::string& face,
                       int fontHeight) {
    const SIZE size{text.right - text.left, text.bottom - text.top};
    const POINT origin = clientToScreen(bar, {text.left, text.top});
    const std::vector<COLORREF> want = renderButtonText(utf8, size, GetSysColor(COLOR_BTNFACE), 0, face, fontHeight);
    return waitFor(
        [&] {
            std::vector<COLORREF> drawn = screenPixels({origin.x, origin.y, origin.x + size.cx, origin.y + size.cy});
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
    return waitFor([&] { return GetForegroundWindow() == window; }, timeoutMs);
}

} // namespace e2e
