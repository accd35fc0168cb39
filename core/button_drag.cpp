#include "core/button_drag.h"

#include <cstdlib>

namespace core {

bool dragStarted(int dx, int dy, int dragWidth, int dragHeight) {
    // Twice the offset against the whole side: the rectangle is centred on the press.
    return 2 * std::abs(dx) > dragWidth || 2 * std::abs(dy) > dragHeight;
}

int dropPlace(const std::vector<Span>& row, int from, int x) {
    int place = 0;
    for (int i = 0; i < static_cast<int>(row.size()); ++i) {
        if (i == from) continue;
        const Span& s = row[static_cast<std::size_t>(i)];
        // Summed rather than halved: the middle of a button one pixel wide stays exact.
        if (2 * x > s.left + s.right) ++place;
    }
    return place;
}

int entryShownAt(int place, int from, int to) {
    if (from < 0 || to < 0 || from == to) return place;
    if (place == to) return from;
    // Moving right, the buttons it passed shift one place left; moving left, one place right.
    if (from < to && place >= from && place < to) return place + 1;
    if (to < from && place > to && place <= from) return place - 1;
    return place;
}

} // namespace core
