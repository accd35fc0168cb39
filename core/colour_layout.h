// Where the colour popup and its entries go: the cell size, the text entries, the grid, and the popup's
// place on the screen.
#pragma once
#include "core/colour_palette.h"
#include "core/dpi_scale.h"
#include "core/rect.h"

namespace core {

struct Extent {
    int cx = 0, cy = 0;
};

// The side of a colour cell for an edge width: 18 at 96 DPI (scaled to the given DPI), unless that leaves
// less than 5 pixels of swatch.
int boxSizeFor(int margin, int dpi = kBaseDpi);

struct PopupPlacement {
    int x = 0, y = 0;   // where the popup was asked to open (the button's lower-left corner)
    int margin = 2;     // the system's edge width
    Extent defaultText; // measured "Default" text; cx 0 when there is no such entry
    Extent customText;  // measured "Other colors" text; cx 0 when there is no such entry
    bool hasDefault = true;
    bool hasCustom = true;
    Extent screen{1024, 768};
    int ownerHeight = 0; // the button's height, to open above it near the bottom of the screen
    int dpi = kBaseDpi;  // of the monitor the popup opens on
};

class PopupLayout {
  public:
    explicit PopupLayout(const PopupPlacement& p);

    int margin() const { return margin_; }
    int boxSize() const { return boxSize_; }
    const ColourGrid& grid() const { return grid_; }
    const Rect& windowRect() const { return windowRect_; }   // screen coordinates
    const Rect& defaultRect() const { return defaultRect_; } // client coordinates, empty when absent
    const Rect& customRect() const { return customRect_; }

    // Client rectangle of a colour cell.
    Rect cellRect(int index) const;
    // The entry under a client point, or NO_ENTRY between and outside the entries.
    int entryAt(int x, int y) const;

  private:
    void addTextEntries(int textWidth, int entryHeight);
    void clampToScreen(const Extent& screen, int ownerHeight);

    int margin_;
    int boxSize_;
    ColourGrid grid_;
    Rect windowRect_;
    Rect defaultRect_;
    Rect customRect_;
    int gridTop_;
};

} // namespace core
