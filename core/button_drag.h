// Dragging a browser button to another place in the row: when a press becomes a drag, where the button would
// land, and which entry each place shows meanwhile.
#pragma once
#include <vector>

namespace core {

// A button's horizontal extent, in the row's order.
struct Span {
    int left = 0;
    int right = 0;
};

// Whether the pointer has left the system's drag rectangle (dragWidth x dragHeight, centred on the press)
// since the press, dx and dy away from it.
bool dragStarted(int dx, int dy, int dragWidth, int dragHeight);

// The place (0-based, in the list's order after the move) the button at `from` takes when dropped with the
// pointer at x: it goes past every other button whose middle the pointer has passed.
int dropPlace(const std::vector<Span>& row, int from, int x);

// The entry shown at `place` while the button at `from` is held over `to`: the buttons between make room.
int entryShownAt(int place, int from, int to);

} // namespace core
