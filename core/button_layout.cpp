#include "core/button_layout.h"

#include <algorithm>

namespace core {

Rect buttonArea(const Rect& client, int dpi) {
    const int32_t inset = scaleForDpi(buttons::kVerticalInset, dpi);
    return {client.left + scaleForDpi(buttons::kLeftReserve, dpi), client.top + inset,
            client.right - scaleForDpi(buttons::kRightReserve, dpi), client.bottom - inset};
}

int32_t buttonWidth(const Rect& area, int n, int dpi) {
    if (n <= 0) return 0;
    int32_t w = (area.right - area.left) / n - scaleForDpi(buttons::kGap, dpi);
    const int32_t widest = scaleForDpi(buttons::kMaxWidth, dpi);
    return w > widest ? widest : w;
}

std::vector<Rect> layoutButtons(const Rect& client, int n, int dpi) {
    std::vector<Rect> out;
    if (n <= 0) return out;
    ButtonRow row = buttonRow(client, n, dpi);
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out.push_back(row.at(i));
    return out;
}

ButtonRow buttonRow(const Rect& client, int n, int dpi) {
    ButtonRow row;
    row.dpi = dpi;
    if (n <= 0) return row;
    Rect area = buttonArea(client, dpi);
    int32_t w = buttonWidth(area, n, dpi);
    row.first = {area.left, area.top, area.left + w, area.bottom};
    row.step = w + scaleForDpi(buttons::kGap, dpi);
    row.count = n;
    return row;
}

Rect ButtonRow::at(int index) const {
    const int32_t dx = step * index;
    return {first.left + dx, first.top, first.right + dx, first.bottom};
}

namespace {
int32_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return static_cast<int32_t>((a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q);
}
} // namespace

std::pair<int, int> ButtonRow::meeting(int32_t x0, int32_t x1) const {
    if (count <= 0 || x1 <= x0) return {0, 0};
    // Every button's painted extent is the same span around its left edge: [left + lo, left + hi).
    const Rect extent = paintedExtent(first, dpi);
    const int64_t lo = extent.left - first.left;
    const int64_t hi = extent.right - first.left;
    if (step == 0) {
        bool meets = first.left + lo < x1 && first.left + hi > x0;
        return meets ? std::pair<int, int>{0, count} : std::pair<int, int>{0, 0};
    }
    // Button i meets the columns when first.left + i * step + lo < x1 and first.left + i * step + hi > x0.
    int64_t begin = floorDiv(x0 - hi - first.left, step) + 1;
    int64_t end = floorDiv(x1 - lo - first.left - 1, step) + 1;
    begin = std::max<int64_t>(begin, 0);
    end = std::min<int64_t>(end, count);
    if (end <= begin) return {0, 0};
    return {static_cast<int>(begin), static_cast<int>(end)};
}

std::vector<int> buttonsToDraw(const ButtonRow& row, int begin, int end, int lastWithGlyph) {
    std::vector<int> out;
    if (row.step == 0 && end > begin) {
        if (lastWithGlyph >= begin && lastWithGlyph < end - 1) out.push_back(lastWithGlyph);
        out.push_back(end - 1);
        return out;
    }
    for (int i = begin; i < end; ++i)
        out.push_back(i);
    return out;
}

Rect textRect(const Rect& button, int dpi, bool withIcon) {
    Rect text{button.left + scaleForDpi(buttons::kTextInsetLeft, dpi), button.top,
              button.right - scaleForDpi(buttons::kTextInsetRight, dpi), button.bottom};
    const Rect icon = withIcon ? iconRect(button, dpi) : Rect{};
    if (!icon.empty()) text.left = icon.right + scaleForDpi(buttons::kIconGap, dpi);
    return text;
}

Rect iconRect(const Rect& button, int dpi) {
    const int32_t side = scaleForDpi(buttons::kIconSize, dpi);
    const int32_t left = button.left + scaleForDpi(buttons::kTextInsetLeft, dpi);
    const int32_t top = button.top + (button.height() - side) / 2;
    if (left + side > button.right - scaleForDpi(buttons::kTextInsetRight, dpi) || button.height() < side)
        return {left, top, left, top};
    return {left, top, left + side, top + side};
}

Point glyphOrigin(const Rect& button, int dpi) {
    return {button.right - scaleForDpi(buttons::kGlyphFromRight, dpi),
            button.top + scaleForDpi(buttons::kGlyphFromTop, dpi)};
}

Rect paintedExtent(const Rect& button, int dpi) {
    const int32_t glyphLeft = button.right - scaleForDpi(buttons::kGlyphFromRight, dpi);
    const int32_t glyphRight = glyphLeft + glyphSize(dpi);
    return {std::min(button.left, glyphLeft), button.top, std::max({button.right, button.left, glyphRight}),
            button.bottom};
}

} // namespace core
