// The end of a window's move or size and its minimising or restoring, heard from every process through
// out-of-context WinEvents: the moments a window may have gone to another monitor. Each event is posted to
// the bar as WM_BAR_WINDOWMOVED; the bar looks only at the windows it lists.
#pragma once
#include <windows.h>

namespace app {

class MoveWatch {
  public:
    MoveWatch() = default;
    ~MoveWatch() { stop(); }
    MoveWatch(const MoveWatch&) = delete;
    MoveWatch& operator=(const MoveWatch&) = delete;

    // False when the system refused a hook; the bar then learns of moves from the shell's events only.
    bool start(HWND bar);
    void stop() noexcept;

  private:
    HWINEVENTHOOK moveSizeEnd_ = nullptr;
    HWINEVENTHOOK minimizeEnd_ = nullptr;
};

} // namespace app
