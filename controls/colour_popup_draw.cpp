// Painting of the palette popup: the text entries, the 40 cells and the raised frame.
#include <windows.h>

#include "controls/colour_popup.h"
#include "win/gdi.h"
#include "win/text.h"

namespace controls {

namespace {

RECT toRect(const core::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The edge that shows the state of a cell or text entry.
void drawStateEdge(HDC dc, RECT r, bool hot, bool marked) {
    if (hot)
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    else if (marked)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
}

} // namespace

LRESULT ColourPopup::onPaint() {
    win::PaintScope dc(hwnd());
    if (dc && layout_) {
        if (layout_->grid().hasDefault()) drawEntry(dc, core::DEFAULT_ENTRY);
        for (int i = 0; i < core::kColourCount; ++i)
            drawEntry(dc, i);
        if (layout_->grid().hasCustom()) drawEntry(dc, core::CUSTOM_ENTRY);
        RECT client{};
        GetClientRect(hwnd(), &client);
        DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
    }
    return 0;
}

void ColourPopup::drawEntry(HDC dc, int index) const {
    if (core::isCell(index))
        drawCell(dc, index);
    else if (layout_->grid().exists(index))
        drawTextEntry(dc, index);
}

void ColourPopup::drawCell(HDC dc, int index) const {
    RECT r = toRect(layout_->cellRect(index));
    const bool hot = index == hotIndex_;
    const bool marked = index == chosenIndex_ && !hot;
    // On a 256-colour display the cells use the popup's own palette, so each shows as near as it can.
    const bool usePalette = palette_ && (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE);
    win::PaletteScope selectPalette(dc, usePalette ? palette_.get() : nullptr);
    if (usePalette) RealizePalette(dc);
    FillRect(dc, &r, GetSysColorBrush(marked ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE));
    drawStateEdge(dc, r, hot, marked);
    const int inset = layout_->margin() + 1;
    InflateRect(&r, -inset, -inset);
    win::Brush brush(CreateSolidBrush(0x02000000 | core::paletteColours[index].colour));
    win::Pen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    win::SelectObjectScope selectBrush(dc, brush.get());
    win::SelectObjectScope selectPen(dc, pen.get());
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

void ColourPopup::drawTextEntry(HDC dc, int index) const {
    const int m = layout_->margin();
    if (index == core::DEFAULT_ENTRY) {
        RECT whole = toRect(layout_->defaultRect());
        FillRect(dc, &whole, GetSysColorBrush(COLOR_BTNFACE));
        InflateRect(&whole, -1, -1);
        drawEntryFace(dc, whole, index, defaultText_);
        return;
    }
    RECT custom = toRect(layout_->customRect());
    RECT r = custom;
    r.top += 2 * m;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    // An etched line separates "Other colors" from the grid.
    RECT line{custom.left + 2 * m, custom.top, custom.right - 2 * m, custom.top + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    OffsetRect(&line, 0, 1);
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    InflateRect(&r, -1, -1);
    drawEntryFace(dc, r, index, customText_);
}

void ColourPopup::drawEntryFace(HDC dc, RECT r, int index, const std::string& text) const {
    const bool hot = index == hotIndex_;
    const bool marked = index == chosenIndex_ && !hot;
    FillRect(dc, &r, GetSysColorBrush(marked ? COLOR_3DLIGHT : COLOR_BTNFACE));
    if (index == core::DEFAULT_ENTRY) {
        // The "Default" entry carries an inner outline, like a swatch with no colour of its own.
        const int inset = 2 * layout_->margin();
        win::Pen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
        win::SelectObjectScope selectPen(dc, pen.get());
        win::SelectObjectScope selectBrush(dc, GetStockObject(HOLLOW_BRUSH));
        Rectangle(dc, r.left + inset, r.top + inset, r.right - inset, r.bottom - inset);
    }
    drawStateEdge(dc, r, hot, marked);
    win::SelectObjectScope selectFont(dc, font());
    win::TextScope look(dc, GetSysColor(COLOR_BTNTEXT));
    const std::wstring wide = win::widen(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

} // namespace controls
