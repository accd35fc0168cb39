// The bar's registration as an appbar: the shell reserves a strip of the screen for it while it is docked.
#pragma once
#include <windows.h>

#include "core/settings.h"

namespace app {

class AppBar {
  public:
    void attach(HWND bar) noexcept { bar_ = bar; }
    // The monitor the strip is taken from; until one is set, the primary screen.
    void setMonitor(HMONITOR monitor, const RECT& rect) noexcept {
        monitor_ = monitor;
        monitorRect_ = rect;
    }
    HMONITOR monitor() const noexcept { return monitor_; }
    // Registers the bar (a shell that knows it already refuses quietly) and negotiates its place.
    void dock(const core::Settings& s, int barHeight);
    // Asks the shell for the strip along the edge the settings name, barHeight pixels high, and moves there.
    void position(const core::Settings& s, int barHeight);
    // Gives the strip back. Safe inside an exception filter on any thread: no allocation, and a second call
    // (or one without a registration) does nothing.
    void release() noexcept;

    // What the shell must hear of the bar's own window.
    void windowMoved() const;
    void windowActivated() const;
    // A full-screen program opened (true) or closed: the bar steps behind one on its own monitor, and back.
    void fullScreenChanged(bool opened);

  private:
    HWND bar_ = nullptr;
    HMONITOR monitor_ = nullptr;
    RECT monitorRect_{};
    bool steppedBack_ = false;
    volatile LONG registered_ = 0;
    // The window the bar was below before it stepped behind a full-screen program.
    HWND zOrderAnchor_ = nullptr;
};

} // namespace app
