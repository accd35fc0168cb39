// Taking tracked windows' buttons off the taskbar through the shell's documented task-list object, and giving
// them back. Each call is a call into the shell, which may answer slowly or not at all, and the bar never
// waits on another program: the object lives on a worker thread of this module's own (an apartment of its
// own, with its message loop), and the bar's thread only hands it requests, carried out in the order given.
// The worker remembers the buttons it took off, so that none is left without a button anywhere when the bar
// ends, however it ends.
#pragma once
#include <windows.h>

namespace app {

// Starts COM on the bar's thread, for the shell's other calls there. The worker starts with the first button
// to be taken off and makes the object then; where the shell has no such object, every button stays.
void startTaskbarList();
// Gives every button back and lets the worker end, waiting for it a few seconds at most; then lets go of COM.
void endTaskbarList();

void takeButtonOff(HWND window);
// Gives the button back when it was taken off and the window still exists.
void giveButtonBack(HWND window);
// A restarted shell shows every button again and has a new task-list object: the old one is let go (a new
// one is made when next needed) and the buttons taken off are forgotten, to be taken off again by the caller.
void renewTaskbarList();

// For the teardown and the crash guard, from any thread: has every button given back at once, ahead of the
// requests still waiting, and none taken off after; waits a few seconds at most. Made for the crash path: no
// allocation, no lock; a second call finds none left.
void giveAllButtonsBackForGood() noexcept;

} // namespace app
