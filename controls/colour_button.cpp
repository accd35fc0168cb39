#include "controls/colour_button.h"

#include "controls/colour_popup.h"
#include "win/gdi.h"
#include "win/handle.h"

namespace controls {

ColourButton::ColourButton() : colour_(GetSysColor(COLOR_BTNTEXT)) {}

bool ColourButton::attach(HWND dialog, int controlId) {
    return attach(GetDlgItem(dialog, controlId));
}

bool ColourButton::attach(HWND button) {
    if (!button || !subclass(button)) return false;
    LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    SetWindowLongPtrA(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    InvalidateRect(button, nullptr, TRUE);
    return true;
}

void ColourButton::setColour(COLORREF colour) {
    colour_ = colour;
    if (hwnd()) RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HWND ColourButton::popup() const {
    return popup_ && IsWindow(popup_) ? popup_ : nullptr;
}

void ColourButton::setTexts(std::string defaultText, std::string customText) {
    defaultText_ = std::move(defaultText);
    customText_ = std::move(customText);
}

void ColourButton::open() {
    if (!hwnd() || popupOpen_) return;
    popupOpen_ = true;
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(hwnd(), &r);
    popup_ = ColourPopup::open(r.left, r.bottom, colour_, hwnd(), defaultText_.c_str(), customText_.c_str(),
                               &names_);
    notifyParent(WM_COLOUR_DROPDOWN, colour_);
    // Without a popup no ending would ever come: end at once, as a cancelled choice, rather than stay pushed.
    if (!popup_) SendMessageA(hwnd(), WM_COLOUR_CANCEL, colour_, 0);
}

LRESULT ColourButton::windowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDBLCLK:
        return onDoubleClick(wParam, lParam);
    case WM_COLOUR_TRACK:
        return onTrack(wParam);
    case WM_COLOUR_ACCEPT:
    case WM_COLOUR_CANCEL:
        return onEnded(msg, wParam);
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

bool ColourButton::reflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        result = onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return true;
    }
    // Other notifications of the button are the parent's.
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    open();
    result = 0;
    return true;
}

void ColourButton::onFinalMessage() {
    // A popup must not outlive the button it reports to.
    if (HWND p = popup()) DestroyWindow(p);
    popup_ = nullptr;
    popupOpen_ = false;
}

LRESULT ColourButton::onDoubleClick(WPARAM wParam, LPARAM lParam) {
    // An owner-drawn button would only report a quick second click as a double click. Pressed like an
    // ordinary push button instead, it opens the popup when released, so the release cannot end it at once.
    return defaultProc(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT ColourButton::onTrack(WPARAM colour) {
    setColour(static_cast<COLORREF>(colour));
    notifyParent(WM_COLOUR_TRACK, static_cast<COLORREF>(colour));
    return 0;
}

LRESULT ColourButton::onEnded(UINT msg, WPARAM colour) {
    popupOpen_ = false;
    popup_ = nullptr;
    setColour(static_cast<COLORREF>(colour));
    notifyParent(WM_COLOUR_CLOSEUP, colour_);
    notifyParent(msg, colour_);
    return 1;
}

void ColourButton::notifyParent(UINT msg, COLORREF colour) const {
    HWND parent = GetParent(hwnd());
    if (parent) SendMessageA(parent, msg, colour, GetDlgCtrlID(hwnd()));
}

LRESULT ColourButton::onDrawItem(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (popupOpen_ ? DFCS_PUSHED : 0));
    drawSwatch(item.hDC);
    drawCaption(item);
    return TRUE;
}

void ColourButton::drawSwatch(HDC dc) const {
    RECT s{3, 3, 16, 16};
    DrawEdge(dc, &s, EDGE_SUNKEN, BF_RECT);
    InflateRect(&s, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    if (colour_ == COLOUR_DEFAULT) {
        FillRect(dc, &s, GetSysColorBrush(COLOR_BTNFACE));
        DrawFrameControl(dc, &s, DFC_BUTTON, DFCS_BUTTONPUSH);
        return;
    }
    win::Brush brush(CreateSolidBrush(colour_));
    FillRect(dc, &s, brush.get());
}

void ColourButton::drawCaption(const DRAWITEMSTRUCT& item) const {
    char text[256] = {};
    GetWindowTextA(hwnd(), text, sizeof(text));
    RECT t = item.rcItem;
    t.left += 20;
    t.right -= 6;
    HDC dc = item.hDC;
    win::TextScope look(dc, GetTextColor(dc));
    if (item.itemState & ODS_DISABLED) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text, -1, &t, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    if (item.itemState & ODS_FOCUS) {
        RECT f = t;
        InflateRect(&f, 2, -4);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &f);
    }
}

} // namespace controls
