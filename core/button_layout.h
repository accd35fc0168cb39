// Where the browser buttons sit on the bar and what a mouse press on them means. The bar paints the buttons
// itself (they are not windows), so layout and hit testing are plain geometry.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/rect.h"

namespace core {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

namespace buttons {
// Room kept for the bar's own buttons at both ends, and above and below the browser buttons.
constexpr int32_t kLeftReserve = 54;
constexpr int32_t kRightReserve = 32;
constexpr int32_t kVerticalInset = 3;
constexpr int32_t kGap = 2;
constexpr int32_t kMaxWidth = 160;
constexpr int32_t kTextInsetLeft = 4;
constexpr int32_t kTextInsetRight = 3;
// The close glyph: drawn 9 x 9 at (right - 11, top + 2); it answers a little beyond that.
constexpr int32_t kGlyphFromRight = 11;
constexpr int32_t kGlyphFromTop = 2;
constexpr int32_t kGlyphSize = 9;
constexpr int32_t kGlyphZoneHeight = 11;
} // namespace buttons

// The part of the client area the browser buttons share.
Rect buttonArea(const Rect& client);

// The width of each of n buttons (n > 0): an equal share less the gap, at most 160. Nothing keeps it from
// becoming zero or negative on a crowded narrow bar; such a button is never hit.
int32_t buttonWidth(const Rect& area, int n);

// The n button rectangles, left to right.
std::vector<Rect> layoutButtons(const Rect& client, int n);

// The rectangle the title is drawn into; it is not narrowed for the close glyph.
Rect textRect(const Rect& button);

// The top-left corner of the close glyph on a button.
Point glyphOrigin(const Rect& button);

// Everything a button may draw: its rectangle and its close glyph, which sticks out to the left of a button
// narrower than the glyph's offset. Never empty, even for a button of zero or negative width, which still
// draws its edges and glyph.
Rect paintedExtent(const Rect& button);

// Whether a button shows (and answers on) its close glyph.
constexpr bool glyphShown(bool showCloseGlyph, bool onlyOnActive, bool isActive) {
    return showCloseGlyph && (!onlyOnActive || isActive);
}

// Half-open containment, as the system tests points in rectangles. Works for any rectangle type.
template <class R> bool containsPoint(const R& r, Point p) {
    return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
}

// The first entry, in list order, whose button contains the point, or -1. List holds `entries` with a
// `buttonRect` each.
template <class List> int hitButton(const List& list, Point p) {
    for (std::size_t i = 0; i < list.entries.size(); ++i)
        if (containsPoint(list.entries[i].buttonRect, p)) return static_cast<int>(i);
    return -1;
}

// Whether a point inside a button is on its close glyph: the top-right corner, 11 wide and 11 high from the
// top (bottom edge included), only where the glyph is shown.
template <class R> bool onCloseGlyph(const R& button, Point p, bool shown) {
    return shown && p.x >= button.right - buttons::kGlyphFromRight &&
           p.y <= button.top + buttons::kGlyphZoneHeight;
}

} // namespace core
