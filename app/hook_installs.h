// The bar's two hooks: the shell hook (cvsh.dll), which reports other programs' windows, and the taskbar
// hook (cvth.dll), which takes tracked windows' tabs off an old taskbar's tab control.
#pragma once
#include <windows.h>

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

} // namespace app
