// Browser windows and shell events for the end-to-end tests of the bar's browser tracking and buttons. The
// browser windows live in the test process: real top-level windows of the tracked classes, which the bar sees
// exactly as it would see another program's.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "hooks/shell/cvsh.h"
#include "kit/bar.h"
#include "kit/input.h"
#include "kit/pixels.h"

namespace e2e {

// Shell hook codes as the bar receives them.
constexpr LPARAM kCreated = cvsh::kWindowCreated;
constexpr LPARAM kDestroyed = cvsh::kWindowDestroyed;
constexpr LPARAM kActivated = cvsh::kWindowActivated;
constexpr LPARAM kRetitled = cvsh::kWindowRetitled;
constexpr LPARAM kFlashed = cvsh::kWindowFlashed;

// Windows of the tracked classes ("IEFrame", "CabinetWClass") and of an ordinary class.
class TestBrowsers {
  public:
    explicit TestBrowsers(HWND bar = nullptr) : bar_(bar) {}
    ~TestBrowsers();
    void setBar(HWND bar);

    // Opens a visible window at (x, y) 300 x 200; announce: make sure the bar hears of its creation.
    HWND open(const std::string& title, const char* className = "IEFrame", bool announce = true, int x = 100,
              int y = 100);
    // Destroys a window (its destruction is reported to the bar).
    void close(HWND window);

  private:
    HWND bar_;
    std::vector<HWND> windows_;
};

LRESULT shellEvent(HWND bar, HWND window, LPARAM code);

// The bar's tool tip control and its number of tools (one per listed window).
HWND barToolTips(HWND bar);
int toolCount(HWND bar);

POINT clientToScreen(HWND window, POINT client);

// Whether the bar shows the text in the text area of a button (client coordinates), as DrawTextW draws it in
// the given font on the default colours; the area's top and bottom rows are the button's edges. Waits a
// while.
bool buttonTextDrawnAs(HWND bar, const RECT& text, const std::string& utf8, const std::string& face,
                       int fontHeight);

// Waits until the window is in front.
bool waitForeground(HWND window, DWORD timeoutMs = 3000);
// Brings the window to the front and waits until it is. Without a window manager Wine gives a new window the
// foreground only once the X server shows it: asked before then, it leaves no window in front, so it is
// asked again until the window holds it.
bool bringToFront(HWND window, DWORD timeoutMs = 3000);

} // namespace e2e
