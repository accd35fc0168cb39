// Taking tracked windows' buttons off the taskbar through the shell's documented task-list object, and giving
// them back. Every call comes from the bar's thread, where COM is initialised for it; the buttons taken off
// are remembered so that none is left without a button anywhere when the bar ends, however it ends.
#pragma once
#include <windows.h>

namespace app {

// Names the calling thread as the bar's and starts COM there. The task-list object is made when the first
// button is taken off; where the shell has no such object, the bar leaves every button where it is.
void startTaskbarList();
// Gives every button back, then lets go of the object and of COM.
void endTaskbarList();

void takeButtonOff(HWND window);
// Gives the button back when it was taken off and the window still exists.
void giveButtonBack(HWND window);
void giveAllButtonsBack() noexcept;
// A restarted shell shows every button again and has a new task-list object: the old one is let go (a new
// one is made when next needed) and the buttons taken off are forgotten, to be taken off again by the caller.
void renewTaskbarList();

// For the teardown and the crash guard: gives every button back when called on the bar's own thread (only
// there may the object be used), and does nothing elsewhere. No allocation; a second call finds none left.
void giveAllButtonsBackOnBarThread() noexcept;

} // namespace app
