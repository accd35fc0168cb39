// The bar's hooks: the shell hook (cvsh.dll), which reports other programs' windows, the taskbar hook
// (cvth.dll), which takes tracked windows' tabs off an old taskbar's tab control, and the cloak events
// hook, which hears the shell hide and show windows as the user changes virtual desktops.
#pragma once
#include <windows.h>

#include "win/handle.h"

namespace app {

class ShellHookInstall {
  public:
    // False when the library could not hook; it has told the user why.
    bool install(HWND target);
    // Unhooks. Safe inside an exception filter on any thread: no allocation, a second call does nothing.
    void release() noexcept;

  private:
    volatile LONG installed_ = 0;
};

class TaskbarHookInstall {
  public:
    // Looks for the taskbar's tab control and hooks it where there is one. False only when there is one and
    // hooking it failed (the library has told the user why).
    bool install(int catchExplorerWindows);
    // Whether the last look found a tab control: where it did not, the task-list object takes buttons off.
    bool usesTabControl() const noexcept { return usesTabControl_; }
    // Unhooks. Safe inside an exception filter on any thread: no allocation, a second call does nothing.
    void release() noexcept;

  private:
    bool usesTabControl_ = false;
    volatile LONG installed_ = 0;
};

// Out of context, for the two cloak events only: no library goes into other processes, and the bar's thread
// wakes for nothing else. Each event for a window itself is sent to the target (same thread: a call, no
// message queued) as WM_BAR_CLOAKEVENT with the window in wParam.
// The system's event numbers, which the headers for the oldest system the bar runs on do not have (that
// system never raises them).
constexpr DWORD kCloakedEvent = 0x8017;
constexpr DWORD kUncloakedEvent = 0x8018;

class CloakEventHook {
  public:
    // False when the system refused the hook: the bar then keeps the cloaked state it read at listing.
    bool install(HWND target);
    bool installed() const noexcept { return static_cast<bool>(hook_); }
    // Unhooks on the thread that hooked; elsewhere (the crash guard on another thread) it does nothing, as
    // the system takes the hook down with its thread.
    void release() noexcept;

  private:
    win::WinEventHook hook_;
    DWORD thread_ = 0;
};

} // namespace app
