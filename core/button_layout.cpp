#include "core/button_layout.h"

#include <algorithm>

namespace core {

Rect buttonArea(const Rect& client) {
    return {client.left + buttons::kLeftReserve, client.top + buttons::kVerticalInset,
            client.right - buttons::kRightReserve, client.bottom - buttons::kVerticalInset};
}

int32_t buttonWidth(const Rect& area, int n) {
    if (n <= 0) return 0;
    int32_t w = (area.right - area.left) / n - buttons::kGap;
    return w > buttons::kMaxWidth ? buttons::kMaxWidth : w;
}

std::vector<Rect> layoutButtons(const Rect& client, int n) {
    std::vector<Rect> out;
    if (n <= 0) return out;
    Rect area = buttonArea(client);
    int32_t w = buttonWidth(area, n);
    out.reserve(static_cast<std::size_t>(n));
    Rect r{area.left, area.top, area.left + w, area.bottom};
    for (int i = 0; i < n; ++i) {
        out.push_back(r);
        r.left = r.right + buttons::kGap;
        r.right = r.left + w;
    }
    return out;
}

Rect textRect(const Rect& button) {
    return {button.left + buttons::kTextInsetLeft, button.top, button.right - buttons::kTextInsetRight,
            button.bottom};
}

Point glyphOrigin(const Rect& button) {
    return {button.right - buttons::kGlyphFromRight, button.top + buttons::kGlyphFromTop};
}

Rect paintedExtent(const Rect& button) {
    const int32_t glyphLeft = button.right - buttons::kGlyphFromRight;
    const int32_t glyphRight = glyphLeft + buttons::kGlyphSize;
    return {std::min(button.left, glyphLeft), button.top, std::max({button.right, button.left, glyphRight}),
            button.bottom};
}

} // namespace core
