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
    Rect area = buttonArea(client, dpi);
    int32_t w = buttonWidth(area, n, dpi);
    const int32_t gap = scaleForDpi(buttons::kGap, dpi);
    out.reserve(static_cast<std::size_t>(n));
    Rect r{area.left, area.top, area.left + w, area.bottom};
    for (int i = 0; i < n; ++i) {
        out.push_back(r);
        r.left = r.right + gap;
        r.right = r.left + w;
    }
    return out;
}

Rect textRect(const Rect& button, int dpi) {
    return {button.left + scaleForDpi(buttons::kTextInsetLeft, dpi), button.top,
            button.right - scaleForDpi(buttons::kTextInsetRight, dpi), button.bottom};
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
