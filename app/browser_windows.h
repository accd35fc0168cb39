// What the bar reads of a window the shell reports: the system calls behind the facts core/ decides on, one
// call (or a few) per fact. Of today's browsers the class alone says little (other programs draw with the
// same toolkit): the process decides, and only a window that would have a taskbar button of its own counts.
#pragma once
#include <windows.h>

#include <string>

#include "core/rect.h"
#include "core/shell_decision.h"

namespace app {

// The system calls behind each fact. The bar's reader asks Windows; a test hands the tracker one of its own,
// which is also where facts Wine cannot produce (a cloaked window) come from.
class WindowReader {
  public:
    // Empty when the window is gone.
    virtual std::string className(HWND window) const = 0;
    virtual std::string processImage(HWND window) const = 0;
    virtual bool visible(HWND window) const = 0;
    virtual bool taskbarStyle(HWND window) const = 0;
    // Read without a message to the window: a program that does not answer cannot hold the bar.
    virtual std::string text(HWND window) const = 0;
    virtual bool cloaked(HWND window) const = 0;
    // The monitor the window is on, or the nearest one: the one whose bar shows its button.
    virtual HMONITOR monitor(HWND window) const = 0;
    // The window's rectangle, false when it is not known. Most often all the monitor needs: asking the system
    // for the monitor itself costs several times as much under Wine, on every event of a listed window.
    virtual bool rectangle(HWND, core::Rect*) const { return false; }

  protected:
    ~WindowReader() = default;
};

const WindowReader& systemWindowReader();

// One look at one window for one event: each fact is read the first time a rule asks, and kept.
using WindowLook = core::WindowLook<WindowReader, HWND>;

// Where the built-in command names a browser that is not installed (Internet Explorer is gone from today's
// systems), opens a window of the user's default browser instead. False when the command is another one, the
// program exists, or no default browser is known: the command then runs as it is.
bool openDefaultBrowserInstead(const std::string& commandLine);

} // namespace app
