// Where the browser buttons sit on the bar and what a mouse press on them means. The bar paints the buttons
// itself (they are not windows), so layout and hit testing are plain geometry.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/dpi_scale.h"
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
// The window's icon: the system's small-icon size, where the text would start, then a gap before the text.
constexpr int32_t kIconSize = 16;
constexpr int32_t kIconGap = 3;
} // namespace buttons

// Every figure below is in 96-DPI units; the functions take the window's DPI and scale them.

// The part of the client area the browser buttons share.
Rect buttonArea(const Rect& client, int dpi = kBaseDpi);

// The width of each of n buttons (n > 0): an equal share less the gap, at most 160. Nothing keeps it from
// becoming zero or negative on a crowded narrow bar; such a button is never hit.
int32_t buttonWidth(const Rect& area, int n, int dpi = kBaseDpi);

// The n button rectangles, left to right.
std::vector<Rect> layoutButtons(const Rect& client, int n, int dpi = kBaseDpi);

// One layout as arithmetic, so that a repaint of a few buttons needs no pass over all of them: button i is
// the first one moved right by i steps of its width and the gap. The step is never negative; it is zero when
// every button is two pixels narrower than nothing and all of them sit at one place.
struct ButtonRow {
    Rect first;
    int32_t step = 0;
    int count = 0;
    int dpi = kBaseDpi;

    Rect at(int index) const;
    // The buttons [begin, end) whose painted extent meets the columns [x0, x1).
    std::pair<int, int> meeting(int32_t x0, int32_t x1) const;
};

ButtonRow buttonRow(const Rect& client, int n, int dpi = kBaseDpi);

// The buttons of [begin, end) that a repaint must draw, in order. Where all buttons sit at one place, a later
// one covers an earlier one wholly (no title fits, and the fill and edges are the same calls), except for the
// close glyph, which it draws only where it shows its own: then the last button and the last one that shows
// its glyph (lastWithGlyph, or -1) are all that can be seen.
std::vector<int> buttonsToDraw(const ButtonRow& row, int begin, int end, int lastWithGlyph);

// The rectangle the title is drawn into; it is not narrowed for the close glyph. With an icon shown it starts
// past the icon and its gap.
Rect textRect(const Rect& button, int dpi = kBaseDpi, bool withIcon = false);

// Where a button shows its window's icon: at the text's left inset, vertically centred. Empty where the
// button cannot hold it whole (a crowded bar): that button shows no icon and its text keeps the room.
Rect iconRect(const Rect& button, int dpi = kBaseDpi);

// The top-left corner of the close glyph on a button.
Point glyphOrigin(const Rect& button, int dpi = kBaseDpi);

// The side of the close glyph.
constexpr int32_t glyphSize(int dpi = kBaseDpi) {
    return scaleForDpi(buttons::kGlyphSize, dpi);
}

// Everything a button may draw: its rectangle and its close glyph, which sticks out to the left of a button
// narrower than the glyph's offset. Never empty, even for a button of zero or negative width, which still
// draws its edges and glyph.
Rect paintedExtent(const Rect& button, int dpi = kBaseDpi);

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
template <class R> bool onCloseGlyph(const R& button, Point p, bool shown, int dpi = kBaseDpi) {
    return shown && p.x >= button.right - scaleForDpi(buttons::kGlyphFromRight, dpi) &&
           p.y <= button.top + scaleForDpi(buttons::kGlyphZoneHeight, dpi);
}

} // namespace core
