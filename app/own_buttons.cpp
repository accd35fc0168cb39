#include "app/own_buttons.h"

#include "core/bar_commands.h"
#include "core/dpi_scale.h"
#include "resources/resource.h"
#include "win/dpi.h"
#include "win/ui_text.h"

namespace app {

namespace {
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;

struct OwnButton {
    int id;
    const char* caption;
    WORD strip;
    WORD strip150;
    WORD strip200;
    UINT tip;
    RECT rect;
};

// In creation order. Only New browser window has a place of its own; layOut places the pairs.
const OwnButton kOwnButtons[OwnButtons::kCount] = {
    {core::ID_BAR_NEW_BROWSER,
     "New browser window.\nHold for menu.",
     IDB_NEW_BROWSER_STRIP,
     IDB_NEW_BROWSER_STRIP_150,
     IDB_NEW_BROWSER_STRIP_200,
     IDS_TIP_NEW_BROWSER,
     {32, 3, 50, 21}},
    {core::ID_BAR_CLOSE_RIGHT,
     "Close",
     IDB_CLOSE_STRIP,
     IDB_CLOSE_STRIP_150,
     IDB_CLOSE_STRIP_200,
     IDS_TIP_CLOSE,
     {0, 0, 0, 0}},
    {core::ID_BAR_CLOSE_LEFT,
     "Close",
     IDB_CLOSE_STRIP,
     IDB_CLOSE_STRIP_150,
     IDB_CLOSE_STRIP_200,
     IDS_TIP_CLOSE,
     {0, 0, 0, 0}},
    {core::ID_BAR_HIDE_RIGHT,
     "Hide",
     IDB_HIDE_STRIP,
     IDB_HIDE_STRIP_150,
     IDB_HIDE_STRIP_200,
     IDS_TIP_HIDE,
     {0, 0, 0, 0}},
    {core::ID_BAR_HIDE_LEFT,
     "Hide",
     IDB_HIDE_STRIP,
     IDB_HIDE_STRIP_150,
     IDB_HIDE_STRIP_200,
     IDS_TIP_HIDE,
     {0, 0, 0, 0}},
};
constexpr std::size_t kNewBrowser = 0, kCloseRight = 1, kCloseLeft = 2, kHideRight = 3, kHideLeft = 4;
constexpr std::size_t kLeftToRight[OwnButtons::kCount] = {kCloseLeft, kHideLeft, kNewBrowser, kHideRight,
                                                          kCloseRight};

// The pictures are drawn at 100, 150 and 200 %: the one for the DPI, never one stretched up.
WORD stripFor(const OwnButton& b, int dpi) {
    switch (core::pictureScalePercent(dpi)) {
    case 150:
        return b.strip150;
    case 200:
        return b.strip200;
    default:
        return b.strip;
    }
}

} // namespace

void OwnButtons::create(HWND bar, int dpi) {
    RECT client{};
    GetClientRect(bar, &client);
    for (std::size_t i = 0; i < kCount; ++i) {
        const OwnButton& b = kOwnButtons[i];
        controls::CHoverButton& button = buttons_[i];
        // Made where the layout will want it: every move of a child window costs Wine a round of messages,
        // and the bar is already docked at its width.
        const RECT place = i == kNewBrowser ? win::scaledRect(b.rect, dpi) : placeOf(i, client.right, dpi);
        if (!button.Create(b.caption, kButtonStyle, place, bar, b.id)) continue;
        // Holding New browser window opens the bar's menu instead of waiting for the click.
        if (i == kNewBrowser) button.m_bMenuOnHold = TRUE;
        button.SetStripBitmap(stripFor(b, dpi));
    }
    retitle();
}

void OwnButtons::retitle() {
    for (std::size_t i = 0; i < kCount; ++i)
        if (buttons_[i].hwnd())
            buttons_[i].SetToolTipText(win::uiText(GetModuleHandleW(nullptr), kOwnButtons[i].tip).c_str(),
                                       TRUE);
}

void OwnButtons::scale(int dpi) {
    for (std::size_t i = 0; i < kCount; ++i) {
        controls::CHoverButton& button = buttons_[i];
        if (!button.hwnd()) continue;
        const RECT r = win::scaledRect(kOwnButtons[i].rect, dpi);
        SetWindowPos(button.hwnd(), nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        button.SetStripBitmap(stripFor(kOwnButtons[i], dpi));
        // A picture of the same size as the last one moves nothing, so nothing else repaints the button.
        InvalidateRect(button.hwnd(), nullptr, FALSE);
    }
}

RECT OwnButtons::placeOf(std::size_t i, int cx, int dpi) const {
    auto scaled = [dpi](int size) { return core::scaleForDpi(size, dpi); };
    int x = 0;
    switch (i) {
    case kCloseRight:
        x = cx - scaled(16);
        break;
    case kHideRight:
        x = cx - scaled(29);
        break;
    case kCloseLeft:
        x = scaled(3);
        break;
    default:
        x = scaled(16);
        break;
    }
    // A button is as large as its picture, which may be a little smaller than its room at some DPIs.
    const int frame = buttons_[i].frameWidth();
    const int side = frame > 0 ? frame : scaled(12);
    return {x, scaled(3), x + side, scaled(3) + side};
}

void OwnButtons::setToolTipColours(COLORREF face, COLORREF text) {
    for (controls::CHoverButton& button : buttons_)
        button.setToolTipColours(face, text);
}

void OwnButtons::layOut(int cx, int dpi) {
    for (std::size_t i : {kCloseRight, kHideRight, kCloseLeft, kHideLeft}) {
        const HWND button = buttons_[i].hwnd();
        if (!button) continue;
        const RECT want = placeOf(i, cx, dpi);
        RECT now{};
        GetWindowRect(button, &now);
        MapWindowPoints(nullptr, GetParent(button), reinterpret_cast<POINT*>(&now), 2);
        if (!EqualRect(&now, &want))
            SetWindowPos(button, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                         SWP_NOZORDER);
    }
}

bool OwnButtons::relay(const MSG& msg) {
    for (controls::CHoverButton& button : buttons_) {
        if (button.hwnd() && msg.hwnd == button.hwnd()) {
            button.PreTranslateMessage(msg);
            return true;
        }
    }
    return false;
}

const controls::CHoverButton& OwnButtons::leftToRight(std::size_t i) const {
    return buttons_[kLeftToRight[i]];
}

std::vector<controls::CHoverButton*> OwnButtons::made() {
    std::vector<controls::CHoverButton*> out;
    for (std::size_t i = 0; i < kCount; ++i)
        if (buttons_[kLeftToRight[i]].hwnd()) out.push_back(&buttons_[kLeftToRight[i]]);
    return out;
}

} // namespace app
