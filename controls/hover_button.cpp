#include "controls/hover_button.h"

#include <commctrl.h>

#include "core/bar_commands.h"
#include "core/dpi_scale.h"
#include "win/dpi.h"
#include "win/gdi.h"
#include "win/text.h"

namespace controls {

namespace {
HINSTANCE programInstance() {
    return GetModuleHandleA(nullptr);
}

// Wide, so that a tip in any language keeps its characters.
TOOLINFOW toolInfo(HWND owner) {
    TOOLINFOW ti{};
    // The version-5 common controls refuse the larger record of later versions.
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = owner;
    ti.uId = CHoverButton::kToolId;
    return ti;
}
} // namespace

CHoverButton::~CHoverButton() {
    // The tool tip goes first, then the strip (a member), then the binding to the window.
    if (m_toolTip && IsWindow(m_toolTip)) DestroyWindow(m_toolTip);
    m_toolTip = nullptr;
}

bool CHoverButton::Create(const char* caption, DWORD style, const RECT& rect, HWND parent, int id) {
    HWND h = CreateWindowExA(0, "BUTTON", caption, style, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), programInstance(), nullptr);
    if (!h) return false;
    if (!subclass(h)) {
        DestroyWindow(h);
        return false;
    }
    return true;
}

BOOL CHoverButton::SetStripBitmap(WORD resourceId) {
    // With LR_LOADMAP3DCOLORS the strip's greys take the user's current 3-D colours.
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(programInstance(), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    if (!bitmap) return FALSE;
    m_bitmapStrip.reset(bitmap);
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    m_nFrameWidth = info.bmWidth / 3;
    m_nFrameHeight = info.bmHeight;
    RECT now{};
    GetWindowRect(hwnd(), &now);
    if (now.right - now.left != m_nFrameWidth || now.bottom - now.top != m_nFrameHeight)
        SetWindowPos(hwnd(), HWND_TOP, 0, 0, m_nFrameWidth, m_nFrameHeight, SWP_NOMOVE | SWP_NOOWNERZORDER);
    // A strip loaded again for another DPI changes the size: the tool follows.
    if (m_toolTip) {
        TOOLINFOW ti = toolInfo(hwnd());
        GetClientRect(hwnd(), &ti.rect);
        SendMessageW(m_toolTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    return TRUE;
}

void CHoverButton::EnsureToolTip() {
    if (m_toolTip || !hwnd()) return;
    m_toolTip =
        CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, programInstance(), nullptr);
    if (!m_toolTip) return;
    applyToolTipColours();
    const int dpi = win::windowDpi(hwnd());
    RECT margins = win::scaledRect(kToolTipMargins, dpi);
    SendMessageA(m_toolTip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    SendMessageA(m_toolTip, TTM_SETMAXTIPWIDTH, 0, core::scaleForDpi(kToolTipMaxWidth, dpi));
    if (hasTip_) {
        applyToolTipText();
    } else {
        // A new tool tip stays silent until someone gives it a text and activates it.
        SendMessageA(m_toolTip, TTM_ACTIVATE, FALSE, 0);
    }
}

void CHoverButton::setToolTipColours(COLORREF face, COLORREF text) {
    tipFace_ = face;
    tipTextColour_ = text;
    if (m_toolTip) applyToolTipColours();
}

void CHoverButton::applyToolTipColours() {
    SendMessageA(m_toolTip, TTM_SETTIPBKCOLOR, tipFace_, 0);
    if (tipTextColour_ != CLR_INVALID) SendMessageA(m_toolTip, TTM_SETTIPTEXTCOLOR, tipTextColour_, 0);
}

void CHoverButton::SetToolTipText(const char* text, BOOL activate) {
    if (!text) return;
    tipText_ = text;
    tipActive_ = activate != FALSE;
    hasTip_ = true;
    // Until the pointer first reaches the button its tip needs no window: each tool tip is a window of its
    // own, and making them was the largest part of the bar's own start-up work.
    if (m_toolTip) applyToolTipText();
}

void CHoverButton::applyToolTipText() {
    TOOLINFOW ti = toolInfo(hwnd());
    std::wstring text = win::widen(tipText_);
    ti.lpszText = text.data();
    if (SendMessageW(m_toolTip, TTM_GETTOOLCOUNT, 0, 0) == 0) {
        GetClientRect(hwnd(), &ti.rect);
        SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    SendMessageW(m_toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(m_toolTip, TTM_ACTIVATE, tipActive_ ? TRUE : FALSE, 0);
}

BOOL CHoverButton::PreTranslateMessage(const MSG& msg) {
    // Only the pointer makes the tip: messages of other kinds (a paint, a posted command) may arrive while
    // a menu's own loop runs, and a window made then disturbs the menu.
    if (msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST) return FALSE;
    EnsureToolTip();
    if (m_toolTip) {
        MSG copy = msg;
        SendMessageA(m_toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
    }
    return FALSE;
}

bool CHoverButton::reflectedMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg != WM_DRAWITEM) return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void CHoverButton::setFocusMark(bool shown) {
    if (shown == focusMark_) return;
    focusMark_ = shown;
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CHoverButton::DrawItem(const DRAWITEMSTRUCT& item) {
    if (!m_bitmapStrip) {
        drawPlainFace(item);
    } else {
        win::MemoryDc memory(CreateCompatibleDC(item.hDC));
        if (!memory) return;
        win::SelectObjectScope strip(memory.get(), m_bitmapStrip.get());
        int sourceX =
            core::stripFrameX((item.itemState & ODS_SELECTED) != 0, m_bHover != FALSE, m_nFrameWidth);
        BitBlt(item.hDC, 0, 0, m_nFrameWidth, m_nFrameHeight, memory.get(), sourceX, 0, SRCCOPY);
    }
    if (!focusMark_) return;
    RECT mark = item.rcItem;
    InflateRect(&mark, -2, -2);
    DrawFocusRect(item.hDC, &mark);
}

void CHoverButton::drawPlainFace(const DRAWITEMSTRUCT& item) const {
    // Without a strip the button still shows where it is and that it is pushed.
    RECT rc = item.rcItem;
    UINT state = DFCS_BUTTONPUSH | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0);
    DrawFrameControl(item.hDC, &rc, DFC_BUTTON, state);
}

LRESULT CHoverButton::windowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE:
        return onMouseMove(wParam, lParam);
    case WM_MOUSELEAVE:
        return onMouseLeave();
    case WM_MOUSEHOVER:
        return onMouseHover();
    case WM_LBUTTONDOWN:
        return onLButtonDown(wParam, lParam);
    case WM_LBUTTONUP:
        return onLButtonUp(wParam, lParam);
    case WM_TIMER:
        return onTimer(wParam, lParam);
    case WM_DESTROY:
        // The tool tip belongs to the bar's top-level window by ownership; it must not outlive its button.
        if (m_toolTip) DestroyWindow(m_toolTip);
        m_toolTip = nullptr;
        return defaultProc(msg, wParam, lParam);
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

bool CHoverButton::trackingHeld() const {
    TRACKMOUSEEVENT query{};
    query.cbSize = sizeof(query);
    query.dwFlags = TME_QUERY;
    return TrackMouseEvent(&query) && query.hwndTrack == hwnd() && (query.dwFlags & TME_LEAVE);
}

LRESULT CHoverButton::onMouseMove(WPARAM wParam, LPARAM lParam) {
    // A move can arrive after the pointer already left (one replayed for a window that appeared under the
    // pointer's old place). Tracking asked for then may be accepted and yet never start, and then no leave
    // ever comes to clear the flag: so the system is asked whether it still tracks, not only the flag.
    if (!m_bTracking || !trackingHeld()) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = hwnd();
        tme.dwHoverTime = 1;
        // A failed request leaves tracking unarmed, so the next move tries again.
        m_bTracking = TrackMouseEvent(&tme);
    }
    return defaultProc(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT CHoverButton::onMouseHover() {
    m_bHover = TRUE;
    InvalidateRect(hwnd(), nullptr, TRUE);
    return 0;
}

LRESULT CHoverButton::onMouseLeave() {
    m_bTracking = FALSE;
    m_bHover = FALSE;
    InvalidateRect(hwnd(), nullptr, TRUE);
    return 0;
}

LRESULT CHoverButton::onLButtonDown(WPARAM wParam, LPARAM lParam) {
    if (m_bMenuOnHold) SetTimer(hwnd(), HOLD_TIMER_ID, kHoldPeriodMs, nullptr);
    return defaultProc(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT CHoverButton::onLButtonUp(WPARAM wParam, LPARAM lParam) {
    KillTimer(hwnd(), HOLD_TIMER_ID);
    return defaultProc(WM_LBUTTONUP, wParam, lParam);
}

LRESULT CHoverButton::onTimer(WPARAM wParam, LPARAM lParam) {
    HWND self = hwnd();
    // The parent opens its menu inside this call; the timer stops only once the menu has closed.
    SendMessageA(GetParent(self), WM_TIMER, wParam, 0);
    KillTimer(self, HOLD_TIMER_ID);
    // A close dispatched by the menu's own loop may have taken the button, and its owner, away.
    if (!IsWindow(self)) return 0;
    return defaultProc(WM_TIMER, wParam, lParam);
}

} // namespace controls
