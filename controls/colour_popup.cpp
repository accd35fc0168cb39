#include "controls/colour_popup.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <cstddef>
#include <vector>

#include "controls/colour_button.h"
#include "win/common_dialogs.h"
#include "win/dpi.h"
#include "win/gdi.h"
#include "win/system_library.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace controls {

namespace {

static_assert(VK_UP == 0x26 && VK_DOWN == 0x28 && VK_LEFT == 0x25 && VK_RIGHT == 0x27, "key codes");
static_assert(VK_RETURN == 0x0D && VK_SPACE == 0x20 && VK_ESCAPE == 0x1B, "key codes");

// The popup's class keeps one DC for all its windows and saves the screen under it.
constexpr UINT kClassStyle = CS_SAVEBITS | CS_CLASSDC | CS_HREDRAW | CS_VREDRAW;

HINSTANCE moduleInstance() {
    return GetModuleHandleA(nullptr);
}

core::Extent measure(HDC dc, const std::string& text) {
    if (text.empty()) return {};
    SIZE size{};
    const std::wstring wide = win::widen(text);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return {size.cx, size.cy};
}

} // namespace

COLORREF* ColourPopup::customColours() {
    static COLORREF colours[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                   0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                   0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    return colours;
}

HWND ColourPopup::open(int x, int y, COLORREF colour, HWND ownerButton, const char* defaultText,
                       const char* customText, const ColourNames* names) {
    auto* popup = new ColourPopup(colour, ownerButton, defaultText, customText, names);
    if (!popup->build(x, y)) {
        delete popup;
        return nullptr;
    }
    return popup->hwnd();
}

ColourPopup::ColourPopup(COLORREF colour, HWND ownerButton, const char* defaultText, const char* customText,
                         const ColourNames* names)
    : owner_(ownerButton), defaultText_(defaultText ? defaultText : ""),
      customText_(customText ? customText : ""), initialColour_(colour), colour_(colour) {
    for (int i = 0; i < core::kColourCount; ++i) {
        const auto at = static_cast<size_t>(i);
        names_[at] = names && !(*names)[at].empty() ? (*names)[at] : core::paletteColours[at].name;
    }
}

bool ColourPopup::build(int x, int y) {
    makeFont();
    makePalette();
    if (!registerClass(moduleInstance(), kClassName, kClassStyle, nullptr,
                       reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), nullptr)) {
        return false;
    }
    if (!create(0, kClassName, "", WS_POPUP | WS_VISIBLE, x, y, 100, 100, owner_, nullptr,
                moduleInstance())) {
        return false;
    }
    built_ = true;
    layOut(x, y);
    addToolTips();
    chosenIndex_ = layout_->grid().entryFor(initialColour_);
    SetCapture(hwnd());
    return true;
}

void ColourPopup::makeFont() {
    NONCLIENTMETRICSA metrics{};
    // The size every system accepts: without the padded border width of later versions.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        // The entries' texts are in the interface language, which may need a character set of its own.
        if (win::uiCharset() != DEFAULT_CHARSET) metrics.lfMessageFont.lfCharSet = win::uiCharset();
        font_.reset(CreateFontIndirectA(&metrics.lfMessageFont));
    }
}

HFONT ColourPopup::font() const {
    return font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void ColourPopup::makePalette() {
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + (core::kColourCount - 1) * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = core::kColourCount;
    for (int i = 0; i < core::kColourCount; ++i) {
        COLORREF c = core::paletteColours[i].colour;
        logical->palPalEntry[i] = {GetRValue(c), GetGValue(c), GetBValue(c), 0};
    }
    palette_.reset(CreatePalette(logical));
}

void ColourPopup::layOut(int x, int y) {
    core::PopupPlacement p;
    p.x = x;
    p.y = y;
    p.margin = GetSystemMetrics(SM_CXEDGE);
    p.hasDefault = !defaultText_.empty();
    p.hasCustom = !customText_.empty();
    if (p.hasDefault || p.hasCustom) {
        win::WindowDc dc(hwnd());
        win::SelectObjectScope selected(dc, font());
        p.defaultText = measure(dc, defaultText_);
        p.customText = measure(dc, customText_);
    }
    p.screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT owner{};
    if (GetWindowRect(owner_, &owner)) p.ownerHeight = owner.bottom - owner.top;
    p.dpi = win::windowDpi(owner_);
    layout_.emplace(p);
    const core::Rect& w = layout_->windowRect();
    MoveWindow(hwnd(), w.left, w.top, w.width(), w.height(), TRUE);
}

void ColourPopup::addToolTips() {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES;
    win::initCommonControls(icc);
    toolTip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, hwnd(), nullptr, moduleInstance(), nullptr);
    if (!toolTip_) return;
    for (int i = 0; i < core::kColourCount; ++i) {
        core::Rect cell = layout_->cellRect(i);
        TTTOOLINFOW tool{};
        // The common controls of older systems refuse the larger structure of later headers.
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = hwnd();
        tool.uId = static_cast<UINT_PTR>(i) + 1;
        tool.rect = {cell.left, cell.top, cell.right, cell.bottom};
        std::wstring name = win::widen(names_[static_cast<size_t>(i)]);
        tool.lpszText = name.data();
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void ColourPopup::onFinalMessage() {
    if (!built_) return; // creation failed: open() deletes the object
    if (inDialog_) {
        // The colour dialog is still on the stack above us; end() deletes the object when it returns.
        destroyedInDialog_ = true;
        return;
    }
    delete this;
}

LRESULT ColourPopup::windowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    relayToToolTip(msg, wParam, lParam);
    switch (msg) {
    case WM_MOUSEMOVE:
        return onMouseMove(lParam);
    case WM_LBUTTONUP:
        return onLButtonUp(wParam, lParam);
    case WM_KEYDOWN:
        return onKeyDown(wParam, lParam);
    case WM_KILLFOCUS:
        return onKillFocus(wParam, lParam);
    case WM_ACTIVATEAPP:
        return onActivateApp(wParam, lParam);
    case WM_QUERYNEWPALETTE:
        return onQueryNewPalette(wParam, lParam);
    case WM_PALETTECHANGED:
        return onPaletteChanged(wParam, lParam);
    case WM_PAINT:
        return onPaint();
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

void ColourPopup::relayToToolTip(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (!toolTip_ || msg < WM_MOUSEFIRST || msg > WM_MOUSELAST) return;
    DWORD pos = GetMessagePos();
    MSG relayed{hwnd(),
                msg,
                wParam,
                lParam,
                static_cast<DWORD>(GetMessageTime()),
                {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)}};
    SendMessageA(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

LRESULT ColourPopup::onMouseMove(LPARAM lParam) {
    LRESULT result = defaultProc(WM_MOUSEMOVE, 0, lParam);
    if (!layout_ || ending_) return result;
    int k = layout_->entryAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (k != core::NO_ENTRY && k != hotIndex_) highlight(k); // last: the owner may end the popup
    return result;
}

LRESULT ColourPopup::onLButtonUp(WPARAM wParam, LPARAM lParam) {
    LRESULT result = defaultProc(WM_LBUTTONUP, wParam, lParam);
    if (!layout_) return result;
    DWORD pos = GetMessagePos();
    end(layout_->windowRect().contains(GET_X_LPARAM(pos), GET_Y_LPARAM(pos)));
    return result;
}

LRESULT ColourPopup::onKeyDown(WPARAM wParam, LPARAM lParam) {
    core::PopupKey key = core::popupKeyFor(static_cast<unsigned>(wParam));
    if (!layout_ || key == core::PopupKey::Other) return defaultProc(WM_KEYDOWN, wParam, lParam);
    if (key == core::PopupKey::Cancel || key == core::PopupKey::Accept) {
        end(key == core::PopupKey::Accept);
        return 0;
    }
    int k = layout_->grid().move(hotIndex_, key);
    LRESULT result = defaultProc(WM_KEYDOWN, wParam, lParam);
    highlight(k);
    return result;
}

LRESULT ColourPopup::onKillFocus(WPARAM wParam, LPARAM lParam) {
    LRESULT result = defaultProc(WM_KILLFOCUS, wParam, lParam);
    if (GetCapture() == hwnd()) ReleaseCapture();
    return result;
}

LRESULT ColourPopup::onActivateApp(WPARAM wParam, LPARAM lParam) {
    LRESULT result = defaultProc(WM_ACTIVATEAPP, wParam, lParam);
    if (!wParam) end(false);
    return result;
}

LRESULT ColourPopup::onQueryNewPalette(WPARAM wParam, LPARAM lParam) {
    InvalidateRect(hwnd(), nullptr, TRUE);
    return defaultProc(WM_QUERYNEWPALETTE, wParam, lParam);
}

LRESULT ColourPopup::onPaletteChanged(WPARAM wParam, LPARAM lParam) {
    LRESULT result = defaultProc(WM_PALETTECHANGED, wParam, lParam);
    if (reinterpret_cast<HWND>(wParam) != hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
    return result;
}

void ColourPopup::highlight(int index) {
    {
        win::WindowDc dc(hwnd());
        int previous = hotIndex_;
        hotIndex_ = index;
        // Only the two entries concerned are redrawn; the rest of the popup stays as it is.
        if (previous != index && layout_->grid().exists(previous)) drawEntry(dc, previous);
        drawEntry(dc, index);
    }
    core::Highlight h = core::highlightOf(index, initialColour_);
    if (h.takesColour) colour_ = h.reported;
    SendMessageA(owner_, WM_COLOUR_TRACK, h.reported, 0);
}

void ColourPopup::end(bool accept) {
    if (ending_) return; // the colour dialog's own loop may deliver another reason to end
    ending_ = true;
    if (GetCapture() == hwnd()) ReleaseCapture();
    if (accept && hotIndex_ == core::CUSTOM_ENTRY) {
        accept = runColourDialog();
        if (destroyedInDialog_) {
            delete this;
            return;
        }
    }
    if (!accept) colour_ = initialColour_;
    HWND self = hwnd();
    HWND owner = owner_;
    COLORREF colour = colour_;
    // From here on the object may be gone: the owner's handlers can destroy windows.
    SendMessageA(owner, accept ? WM_COLOUR_ACCEPT : WM_COLOUR_CANCEL, colour, 0);
    if (IsWindow(self) && Window::fromHandle(self) == this) DestroyWindow(self);
}

bool ColourPopup::runColourDialog() {
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = hwnd();
    cc.lpCustColors = customColours();
    cc.Flags = CC_FULLOPEN | CC_ANYCOLOR;
    if (initialColour_ != 0 && initialColour_ != COLOUR_DEFAULT) {
        cc.rgbResult = initialColour_;
        cc.Flags |= CC_RGBINIT;
    }
    inDialog_ = true;
    BOOL chosen = win::chooseColour(&cc);
    inDialog_ = false;
    if (chosen) colour_ = cc.rgbResult;
    return chosen != FALSE;
}

} // namespace controls
