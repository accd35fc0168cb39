// The bar under the keyboard: what a key does while the bar holds the keyboard, and where the focus goes.
//
// The places the focus visits are numbered as screen readers see them: the browser buttons in list order,
// then the bar's own buttons left to right.
#pragma once

namespace core {

enum class BarKey {
    Other,
    Left,
    Right,
    Home,
    End,
    Next,     // Tab
    Previous, // Shift+Tab
    Press,    // Enter, Space
    Close,    // Delete
    Menu,     // the context-menu key, Shift+F10
    GiveBack, // Escape
};

// The key of a key-down message (a virtual-key code) with Shift held or not.
BarKey barKeyOf(unsigned virtualKey, bool shift);

// Where the focus starts: the active window's button (-1 for none), else the first button; -1 with none at
// all.
int firstFocus(int activeIndex, int browsers, int own);

// Where a moving key takes the focus from `current`. Left, Right, Home and End keep to the group the focus
// is in and stop at its ends; Tab and Shift+Tab run through every place and wrap around. A focus that has
// fallen off the end (its button went away) comes back to the nearest place first.
int movedFocus(BarKey key, int current, int browsers, int own);

} // namespace core
