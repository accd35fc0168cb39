// Real input for Win32 tests: SendInput moves the pointer, presses buttons and types key combinations that
// the X keymap cannot (Ctrl+Alt+numeric-keypad minus).
#pragma once
#include <windows.h>

namespace input {

// Moves the pointer to a screen point; true when the cursor arrived there.
bool moveTo(int x, int y);
void leftDown();
void leftUp();
void rightDown();
void rightUp();
// Presses and releases a key with the given RegisterHotKey modifiers (MOD_ALT, MOD_CONTROL, MOD_SHIFT).
void pressKey(UINT modifiers, WORD virtualKey);
// Holds Shift down (or lets it go) for what follows.
void shift(bool down);

} // namespace input
