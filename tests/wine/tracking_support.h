// Browser windows, shell events, mouse input and screen pixels for the end-to-end tests of the bar's
// browser tracking and buttons. The browser windows live in the test process: real top-level windows of the
// tracked classes, which the bar sees exactly as it would see another program's.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "e2e_support.h"
#include "hooks/shell/cvsh.h"

namespace e2e {

// Shell hook codes as the bar receives them.
constexpr LPARAM kCreated = cvsh::kWindowCreated;
constexpr LPARAM kDestroyed = cvsh::kWindowDestroyed;
constexpr LPARAM kActivated = cvsh::kWindowActivated;
constexpr LPARAM kRetitled = cvsh::kWindowRetitled;

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

// Mouse input through the system's input queue, at screen points.
void moveMouse(POINT screen);
void click(POINT screen, bool right = false);
void doubleClick(POINT screen);
void pressShift(bool down);
// A left click with Shift held down; Shift stays down until pressShift(false).
void shiftClick(POINT screen);

POINT clientToScreen(HWND window, POINT client);

// The screen's pixels, as everyone sees them.
COLORREF screenPixel(POINT screen);
// A copy of a screen rectangle as 0x00RRGGBB-free COLORREF values, row by row.
std::vector<COLORREF> screenPixels(const RECT& screen);

// Renders text the way a button draws it, into a bitmap of the text rectangle's size filled with the given
// background, and returns its pixels (same layout as screenPixels).
// The text is UTF-8; the font is the bar's default unless a face and height (96-DPI pixels) are given.
std::vector<COLORREF> renderButtonText(const std::string& text, SIZE size, COLORREF background, COLORREF colour,
                                       const std::string& face = "MS Sans Serif", int fontHeight = -11);

// Whether the bar shows the text in the text area of a button (client coordinates), as DrawTextW draws it in
// the given font on the default colours; the area's top and bottom rows are the button's edges. Waits a while.
bool buttonTextDrawnAs(HWND bar, const RECT& text, const std::string& utf8, const std::string& face,
                       int fontHeight);

// Brings the window to the front and waits until it is.
bool waitForeground(HWND window, DWORD timeoutMs = 3000);

} // namespace e2e
