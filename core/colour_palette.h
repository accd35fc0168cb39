// The colour picker's fixed palette and the rules that move its highlight: which entry an index, a row and
// a column stand for, where each arrow key leads, and what highlighting an entry reports.
#pragma once
#include <array>
#include <cstdint>

namespace core {

// A colour as the system stores it: 0x00BBGGRR.
using Colour = uint32_t;

constexpr Colour rgb(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16);
}

// Stands for "no concrete colour": whoever receives it uses a default of its own.
constexpr Colour COLOUR_DEFAULT = 0xFF000000;

// The colour a receiver should use for a picked value, given its own default.
constexpr Colour resolveColour(Colour picked, Colour fallback) {
    return picked == COLOUR_DEFAULT ? fallback : picked;
}

struct NamedColour {
    Colour colour;
    const char* name; // shown as the cell's tool tip
};

constexpr int kColourCount = 40;
constexpr int kColumns = 8;
constexpr int kRows = kColourCount / kColumns + (kColourCount % kColumns ? 1 : 0);

extern const std::array<NamedColour, kColourCount> paletteColours;

// Entry indices: 0..39 are colour cells in grid order; the two text entries and "nothing" are negative.
constexpr int DEFAULT_ENTRY = -3;
constexpr int CUSTOM_ENTRY = -2;
constexpr int NO_ENTRY = -1;

constexpr bool isCell(int index) {
    return index >= 0 && index < kColourCount;
}

// What a key does in the open popup.
enum class PopupKey { Up, Down, Left, Right, Accept, Cancel, Other };

// Maps a virtual-key code (arrows, Return, Space, Escape) to its meaning in the popup.
PopupKey popupKeyFor(unsigned virtualKey);

// The grid of one popup: which of the two text entries it has decides the index rules and the key table.
class ColourGrid {
  public:
    ColourGrid(bool hasDefault, bool hasCustom) : hasDefault_(hasDefault), hasCustom_(hasCustom) {}

    bool hasDefault() const { return hasDefault_; }
    bool hasCustom() const { return hasCustom_; }

    // The entry at (row, column); -2 and -3 in either coordinate name the text entries.
    int indexOf(int row, int column) const;
    int rowOf(int index) const;
    int columnOf(int index) const;

    // True when the index names an entry this popup shows.
    bool exists(int index) const;

    // The entry to mark for the colour the popup opens with.
    int entryFor(Colour colour) const;

    // Where an arrow key moves the highlight from `hot`; other keys leave it where it is.
    int move(int hot, PopupKey key) const;

  private:
    int fromDefault(PopupKey key) const;
    int fromCustom(PopupKey key) const;
    int fromCell(int hot, PopupKey key) const;
    // Past the end of the grid: "Other colors", else "Default", else the first cell.
    int afterGrid() const;
    // Before its start: "Default", else "Other colors", else the last cell.
    int beforeGrid() const;

    bool hasDefault_;
    bool hasCustom_;
};

// What highlighting an entry reports to the button, and whether it also becomes the colour to accept.
struct Highlight {
    Colour reported;
    bool takesColour;
};

Highlight highlightOf(int index, Colour initialColour);

} // namespace core
