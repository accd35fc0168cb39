// Real input through the system's queue. The pointer is where the last moveTo put it: a button event finding
// it elsewhere (a position the display replayed late) carries it back. Clicks and keys return once this
// thread's own windows had a moment to handle them; moves and single button events do not dispatch them.
#pragma once
#include <windows.h>

namespace kit {

// Moves the pointer and waits until it is there and the window under it has seen it; false when not.
bool moveTo(POINT screen);
inline bool moveTo(int x, int y) {
    return moveTo(POINT{x, y});
}
void leftDown();
void leftUp();
void middleDown();
void middleUp();
void click(POINT screen, bool right = false);
void doubleClick(POINT screen);
void middleClick(POINT screen);
// A left click with Shift held down; Shift stays down until holdShift(false).
void shiftClick(POINT screen);
// Presses and releases a key with the given RegisterHotKey modifiers (MOD_ALT, MOD_CONTROL, MOD_SHIFT).
void pressKey(WORD virtualKey, UINT modifiers = 0);
// Holds Shift down (or lets it go) in the X server as well as in Wine's input: Wine re-reads the X keyboard
// when the focus or the pointer moves between its windows and takes back a Shift that X never saw.
void holdShift(bool down);

} // namespace kit
