// What a press of the mouse on the bar's browser buttons does.
#pragma once

namespace core {

// The facts a left press is decided on, read at the moment of the press.
struct LeftPress {
    bool hit = false;      // on a button
    bool onGlyph = false;  // on that button's close glyph (only where it is shown)
    bool shift = false;    // Shift held
    bool isActive = false; // the button's window is the one marked active
    bool iconic = false;   // the button's window is minimised
    bool minimizeOnSecondClick = false;
};

enum class LeftAction {
    ClearActive,    // beside every button: nothing is active any more; repaint
    CloseWindow,    // ask the button's window to close
    CloseAll,       // ask every tracked window to close
    RestoreActive,  // second click on a minimised active window: unmark, restore, bring forward, repaint
    MinimiseActive, // second click: unmark, minimise the window, repaint
    MinimiseAll,    // second click with Shift: unmark, minimise all (where the settings allow), repaint
    BringToFront,   // restore if minimised, bring forward; the marker follows the shell's report
};

LeftAction decideLeftPress(const LeftPress& press);

// The first item of a button's context menu, by the window's state when the menu opens.
const char* contextMenuFirstItem(bool iconic);

constexpr unsigned kContextMenuToggle = 1;
constexpr unsigned kContextMenuClose = 2;

enum class MenuAction { Nothing, RestoreAndFront, Minimise, Close };

// What the chosen context menu command does, by the window's state after the menu closed.
MenuAction decideContextCommand(unsigned command, bool iconicNow);

} // namespace core
