// Taking tracked windows' buttons off the taskbar through the shell's documented task-list object, and giving
// them back. Every call comes from the bar's thread, where COM is initialised for it; the buttons taken off
// are remembered so that none is left without a button anywhere when the bar ends, however it ends.
#pragma once
#include <windows.h>

namespace app {

// COM and the task-list object on the calling thread (the bar's). False when the shell has no such object:
// the bar then leaves every button where it is.
bool startTaskbarList();
// Gives every button back, then lets go of the object and of COM.
void endTaskbarList();

void takeButtonOff(HWND window);
// Gives the button back when it was taken off and the window still exists.
void giveButtonBack(HWND window);
void giveAllButtonsBack() noexcept;
// A restarted shell shows every button again and has a new task-list object: a new object is made and the
// buttons taken off are forgotten, to be taken off again by the caller.
void renewTaskbarList();

// For the teardown and the crash guard: gives every button back when called on the bar's own thread (only
// there may the object be used), and does nothing elsewhere. No allocation; a second call finds none left.
void giveAllButtonsBackOnBarThread() noexcept;

} // namespace app
