#include "core/colour_layout.h"

#include <algorithm>

namespace core {

int boxSizeFor(int margin, int dpi) {
    const int standard = scaleForDpi(18, dpi);
    if (standard - (2 * margin + 2) < 5) return 2 * margin + 7;
    return standard;
}

PopupLayout::PopupLayout(const PopupPlacement& p)
    : margin_(p.margin), boxSize_(boxSizeFor(p.margin, p.dpi)), grid_(p.hasDefault, p.hasCustom) {
    const int m = margin_;
    windowRect_ = {p.x, p.y, p.x + kColumns * boxSize_ + 2 * m, p.y + kRows * boxSize_ + 2 * m};
    if (p.hasDefault || p.hasCustom) {
        int textWidth = std::max(p.defaultText.cx, p.customText.cx) + 2 * m;
        int entryHeight = std::max(p.defaultText.cy, p.customText.cy) + 4 * m + 2;
        addTextEntries(textWidth, entryHeight);
    }
    gridTop_ = m + (p.hasDefault ? defaultRect_.height() + m : 0);
    clampToScreen(p.screen, p.ownerHeight);
}

void PopupLayout::addTextEntries(int textWidth, int entryHeight) {
    const int m = margin_;
    if (grid_.hasDefault()) {
        windowRect_.right = std::max(windowRect_.right, windowRect_.left + textWidth);
        defaultRect_ = {m, m, windowRect_.width() - m, 2 * m + entryHeight};
        windowRect_.bottom += 3 * m + entryHeight;
    }
    if (grid_.hasCustom()) {
        windowRect_.right = std::max(windowRect_.right, windowRect_.left + textWidth);
        int top = windowRect_.height();
        customRect_ = {m, top, windowRect_.width() - m, top + m + entryHeight};
        windowRect_.bottom += 3 * m + entryHeight;
    }
}

void PopupLayout::clampToScreen(const Extent& screen, int ownerHeight) {
    if (windowRect_.right > screen.cx) windowRect_.offset(screen.cx - windowRect_.right, 0);
    if (windowRect_.left < 0) windowRect_.offset(-windowRect_.left, 0);
    // Too low to open under the button: open above it instead.
    if (windowRect_.bottom > screen.cy) windowRect_.offset(0, -(windowRect_.height() + ownerHeight));
}

Rect PopupLayout::cellRect(int index) const {
    int left = (index % kColumns) * boxSize_ + margin_;
    int top = (index / kColumns) * boxSize_ + gridTop_;
    return {left, top, left + boxSize_, top + boxSize_};
}

int PopupLayout::entryAt(int x, int y) const {
    if (grid_.hasCustom() && customRect_.contains(x, y)) return CUSTOM_ENTRY;
    if (grid_.hasDefault() && defaultRect_.contains(x, y)) return DEFAULT_ENTRY;
    int dx = x - margin_;
    int dy = y - gridTop_;
    if (dx < 0 || dy < 0) return NO_ENTRY;
    return grid_.indexOf(dy / boxSize_, dx / boxSize_);
}

} // namespace core
