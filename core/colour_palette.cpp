#include "core/colour_palette.h"

namespace core {

const std::array<NamedColour, kColourCount> paletteColours = {{
    {rgb(0, 0, 0), "Black"},
    {rgb(165, 42, 0), "Brown"},
    {rgb(0, 64, 64), "Dark Olive Green"},
    {rgb(0, 85, 0), "Dark Green"},
    {rgb(0, 0, 94), "Dark Teal"},
    {rgb(0, 0, 139), "Dark blue"},
    {rgb(75, 0, 130), "Indigo"},
    {rgb(40, 40, 40), "Dark grey"},
    {rgb(139, 0, 0), "Dark red"},
    {rgb(255, 104, 32), "Orange"},
    {rgb(139, 139, 0), "Dark yellow"},
    {rgb(0, 147, 0), "Green"},
    {rgb(56, 142, 142), "Teal"},
    {rgb(0, 0, 255), "Blue"},
    {rgb(123, 123, 192), "Blue-grey"},
    {rgb(102, 102, 102), "Grey - 40"},
    {rgb(255, 0, 0), "Red"},
    {rgb(255, 173, 91), "Light orange"},
    {rgb(50, 205, 50), "Lime"},
    {rgb(60, 179, 113), "Sea green"},
    {rgb(127, 255, 212), "Aqua"},
    {rgb(125, 158, 192), "Light blue"},
    {rgb(128, 0, 128), "Violet"},
    {rgb(127, 127, 127), "Grey - 50"},
    {rgb(255, 192, 203), "Pink"},
    {rgb(255, 215, 0), "Gold"},
    {rgb(255, 255, 0), "Yellow"},
    {rgb(0, 255, 0), "Bright green"},
    {rgb(64, 224, 208), "Turquoise"},
    {rgb(192, 255, 255), "Skyblue"},
    {rgb(72, 0, 72), "Plum"},
    {rgb(192, 192, 192), "Light grey"},
    {rgb(255, 228, 225), "Rose"},
    {rgb(210, 180, 140), "Tan"},
    {rgb(255, 255, 224), "Light yellow"},
    {rgb(152, 251, 152), "Pale green "},
    {rgb(175, 238, 238), "Pale turquoise"},
    {rgb(104, 131, 139), "Pale blue"},
    {rgb(230, 230, 250), "Lavender"},
    {rgb(255, 255, 255), "White"},
}};

PopupKey popupKeyFor(unsigned virtualKey) {
    // The system's virtual-key codes; this layer does not see its headers.
    switch (virtualKey) {
    case 0x26:
        return PopupKey::Up;
    case 0x28:
        return PopupKey::Down;
    case 0x25:
        return PopupKey::Left;
    case 0x27:
        return PopupKey::Right;
    case 0x0D: // Return
    case 0x20: // Space
        return PopupKey::Accept;
    case 0x1B:
        return PopupKey::Cancel;
    default:
        return PopupKey::Other;
    }
}

int ColourGrid::indexOf(int row, int column) const {
    if ((row == CUSTOM_ENTRY || column == CUSTOM_ENTRY) && hasCustom_) return CUSTOM_ENTRY;
    if ((row == DEFAULT_ENTRY || column == DEFAULT_ENTRY) && hasDefault_) return DEFAULT_ENTRY;
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return NO_ENTRY;
    int index = row * kColumns + column;
    return index < kColourCount ? index : NO_ENTRY;
}

int ColourGrid::rowOf(int index) const {
    if (index == CUSTOM_ENTRY) return hasCustom_ ? CUSTOM_ENTRY : NO_ENTRY;
    if (index == DEFAULT_ENTRY) return hasDefault_ ? DEFAULT_ENTRY : NO_ENTRY;
    return isCell(index) ? index / kColumns : NO_ENTRY;
}

int ColourGrid::columnOf(int index) const {
    if (index == CUSTOM_ENTRY) return hasCustom_ ? CUSTOM_ENTRY : NO_ENTRY;
    if (index == DEFAULT_ENTRY) return hasDefault_ ? DEFAULT_ENTRY : NO_ENTRY;
    return isCell(index) ? index % kColumns : NO_ENTRY;
}

bool ColourGrid::exists(int index) const {
    if (index == DEFAULT_ENTRY) return hasDefault_;
    if (index == CUSTOM_ENTRY) return hasCustom_;
    return isCell(index);
}

int ColourGrid::entryFor(Colour colour) const {
    if (colour == COLOUR_DEFAULT && hasDefault_) return DEFAULT_ENTRY;
    for (int i = 0; i < kColourCount; ++i) {
        if (paletteColours[i].colour == colour) return i;
    }
    return hasCustom_ ? CUSTOM_ENTRY : NO_ENTRY;
}

int ColourGrid::afterGrid() const {
    if (hasCustom_) return CUSTOM_ENTRY;
    if (hasDefault_) return DEFAULT_ENTRY;
    return 0;
}

int ColourGrid::beforeGrid() const {
    if (hasDefault_) return DEFAULT_ENTRY;
    if (hasCustom_) return CUSTOM_ENTRY;
    return kColourCount - 1;
}

int ColourGrid::move(int hot, PopupKey key) const {
    if (key != PopupKey::Up && key != PopupKey::Down && key != PopupKey::Left && key != PopupKey::Right) {
        return hot;
    }
    if (hot == DEFAULT_ENTRY && hasDefault_) return fromDefault(key);
    if (hot == CUSTOM_ENTRY && hasCustom_) return fromCustom(key);
    return fromCell(isCell(hot) ? hot : NO_ENTRY, key);
}

int ColourGrid::fromDefault(PopupKey key) const {
    // Down and Right enter the grid; Up and Left wrap round to the bottom.
    if (key == PopupKey::Down || key == PopupKey::Right) return 0;
    return hasCustom_ ? CUSTOM_ENTRY : kColourCount - 1;
}

int ColourGrid::fromCustom(PopupKey key) const {
    if (key == PopupKey::Down || key == PopupKey::Right) return hasDefault_ ? DEFAULT_ENTRY : 0;
    return kColourCount - 1;
}

int ColourGrid::fromCell(int hot, PopupKey key) const {
    // "Nothing" has row and column -1, so it enters the grid through the same fallbacks as its edges.
    int row = rowOf(hot);
    int column = columnOf(hot);
    int next = NO_ENTRY;
    switch (key) {
    case PopupKey::Down:
        next = indexOf(row + 1, column);
        break;
    case PopupKey::Right:
        next = column < kColumns - 1 ? indexOf(row, column + 1) : indexOf(row + 1, 0);
        break;
    case PopupKey::Up:
        return row > 0 ? indexOf(row - 1, column) : beforeGrid();
    case PopupKey::Left:
        if (column > 0) return indexOf(row, column - 1);
        return row > 0 ? indexOf(row - 1, kColumns - 1) : beforeGrid();
    default:
        return hot;
    }
    return next == NO_ENTRY ? afterGrid() : next;
}

Highlight highlightOf(int index, Colour initialColour) {
    // "Other colors" previews the opening colour but does not choose it: accepting it opens the colour
    // dialog.
    if (index == DEFAULT_ENTRY) return {COLOUR_DEFAULT, true};
    if (isCell(index)) return {paletteColours[index].colour, true};
    return {initialColour, false};
}

} // namespace core
