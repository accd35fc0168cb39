#include "prefs/quick_help.h"

#include "core/dpi_scale.h"
#include "win/dpi.h"
#include "win/gdi.h"
#include "win/system_library.h"
#include "win/text.h"
#include "win/theme.h"
#include "win/ui_text.h"

#include <htmlhelp.h>

#include <algorithm>

namespace prefs {

namespace {
QuickHelpPopup* g_current = nullptr;
// Wide enough for a sentence or two per line, as help tips usually are.
constexpr int kMaxTextWidth = 320;

// Wide, as the texts of every language need.
using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

HtmlHelpProc htmlHelp() {
    // Loaded on first use and kept for the rest of the run.
    static win::Module library(win::loadSystemLibrary(L"hhctrl.ocx"));
    static HtmlHelpProc proc = library ? reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void*>(
                                             GetProcAddress(library.get(), "HtmlHelpW")))
                                       : nullptr;
    return proc;
}

bool showWithHelpViewer(HWND caller, const std::string& text, POINT anchor, const QuickHelpStyle& style) {
    HtmlHelpProc proc = htmlHelp();
    if (!proc) return false;
    const std::wstring wide = win::widen(text);
    HH_POPUP popup{};
    popup.cbStruct = sizeof(popup);
    // The wide entry reads the text as wide characters through the narrow field.
    popup.pszText = reinterpret_cast<LPCSTR>(wide.c_str());
    popup.pt = anchor;
    popup.clrForeground = style.text;
    popup.clrBackground = style.background;
    popup.rcMargins = style.margins;
    return proc(caller, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup)) != nullptr;
}

// The stock font, made again in the interface language's character set where that needs one of its own.
HFONT tipFont() {
    static win::Font languageFont;
    static BYTE madeFor = DEFAULT_CHARSET;
    auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const BYTE charset = win::uiCharset();
    if (charset == DEFAULT_CHARSET) return stock;
    if (!languageFont || madeFor != charset) {
        LOGFONTW font{};
        GetObjectW(stock, sizeof(font), &font);
        font.lfCharSet = charset;
        languageFont.reset(CreateFontIndirectW(&font));
        madeFor = charset;
    }
    return languageFont ? languageFont.get() : stock;
}
} // namespace

void showQuickHelp(HWND caller, const std::string& text, POINT anchor) {
    QuickHelpStyle style;
    // Read as it opens: the theme may have changed while the dialog was open. No setting holds these.
    const core::PartColours colours =
        core::partColours(core::Settings{}, 0, win::systemTheme(), win::systemColours());
    style.text = colours[core::Part::HelpText];
    style.background = colours[core::Part::HelpFace];
    // The margins are 96-DPI pixels, like every size of the program.
    const int dpi = win::windowDpi(caller);
    style.margins = {core::scaleForDpi(style.margins.left, dpi), core::scaleForDpi(style.margins.top, dpi),
                     core::scaleForDpi(style.margins.right, dpi),
                     core::scaleForDpi(style.margins.bottom, dpi)};
    if (showWithHelpViewer(caller, text, anchor, style)) return;
    QuickHelpPopup::open(caller, text, anchor, style);
}

QuickHelpPopup* QuickHelpPopup::current() {
    return g_current;
}

QuickHelpPopup* QuickHelpPopup::open(HWND owner, const std::string& text, POINT anchor,
                                     const QuickHelpStyle& style) {
    if (g_current) g_current->close();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registerClass(instance, kClassName, CS_SAVEBITS, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr))
        return nullptr;
    auto* popup = new QuickHelpPopup(text, style);
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (!popup->create(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP | WS_BORDER, 0, 0, 1, 1, top, nullptr,
                       instance)) {
        // However far the creation got, the window's final message has released the popup.
        return nullptr;
    }
    g_current = popup;
    popup->place(anchor);
    // The tip never takes the focus: a pending edit must not be judged because help was asked for.
    ShowWindow(popup->hwnd(), SW_SHOWNOACTIVATE);
    SetCapture(popup->hwnd());
    popup->keyHook_.reset(SetWindowsHookExA(WH_KEYBOARD, keyHook, nullptr, GetCurrentThreadId()));
    return popup;
}

SIZE QuickHelpPopup::measure(int maxTextWidth) const {
    win::WindowDc dc(hwnd());
    RECT rc{0, 0, maxTextWidth, 0};
    win::SelectObjectScope font(dc, tipFont());
    const std::wstring text = win::widen(text_);
    DrawTextW(dc, text.c_str(), -1, &rc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

void QuickHelpPopup::place(POINT anchor) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const RECT& m = style_.margins;
    const int border = 2 * GetSystemMetrics(SM_CXBORDER);
    const int widest = core::scaleForDpi(kMaxTextWidth, win::windowDpi(hwnd()));
    SIZE text = measure(std::min(widest, screenWidth - static_cast<int>(m.left + m.right) - border));
    const int width = static_cast<int>(text.cx + m.left + m.right) + border;
    const int height = static_cast<int>(text.cy + m.top + m.bottom) + 2 * GetSystemMetrics(SM_CYBORDER);
    int x = static_cast<int>(anchor.x) - width / 2;
    int y = static_cast<int>(anchor.y);
    // Kept on the screen; a tip that would pass the bottom goes above its anchor.
    x = std::max(0, std::min(x, screenWidth - width));
    if (y + height > screenHeight) y = std::max(0, static_cast<int>(anchor.y) - height);
    SetWindowPos(hwnd(), HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE);
}

void QuickHelpPopup::close() {
    if (closing_ || !hwnd()) return;
    closing_ = true;
    keyHook_.reset();
    if (GetCapture() == hwnd()) ReleaseCapture();
    DestroyWindow(hwnd());
}

LRESULT QuickHelpPopup::windowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        close();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATEANDEAT;
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

void QuickHelpPopup::onPaint() {
    win::PaintScope dc(hwnd());
    RECT rc;
    GetClientRect(hwnd(), &rc);
    win::Brush background(CreateSolidBrush(style_.background));
    FillRect(dc, &rc, background.get());
    rc.left += style_.margins.left;
    rc.top += style_.margins.top;
    rc.right -= style_.margins.right;
    rc.bottom -= style_.margins.bottom;
    win::SelectObjectScope font(dc, tipFont());
    win::TextScope look(dc, style_.text);
    const std::wstring text = win::widen(text_);
    DrawTextW(dc, text.c_str(), -1, &rc, DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT CALLBACK QuickHelpPopup::keyHook(int code, WPARAM wParam, LPARAM lParam) {
    // A key that goes down closes the tip and is used up by it; everything else passes on.
    const bool keyDown = (lParam & 0x80000000) == 0;
    if (code == HC_ACTION && keyDown && g_current) {
        g_current->close();
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void QuickHelpPopup::onFinalMessage() {
    if (g_current == this) g_current = nullptr;
    delete this;
}

} // namespace prefs
