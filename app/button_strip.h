// The browser buttons: painted by the bar itself, one per tracked window, laid out in a row, hit-tested on
// mouse presses, each with a tool tip showing its whole title.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/browser_tracker.h"
#include "core/button_click.h"
#include "core/button_layout.h"
#include "win/gdi.h"
#include "win/handle.h"

namespace app {

// Where the strip is drawn: a DC, and the pixels behind it when they can be written directly.
struct Canvas {
    HDC dc = nullptr;
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;

    // Drawing calls the system may still hold back must land before the pixels are written directly.
    void flush() const {
        if (pixels) GdiFlush();
    }
};

class ButtonStrip {
  public:
    explicit ButtonStrip(BrowserTracker& tracker) : tracker_(tracker) {}

    void attach(HWND bar) noexcept { bar_ = bar; }
    // The close glyph drawn at the bar's DPI; loaded again when the DPI changes.
    void loadCloseGlyph(int dpi);

    // The tool tip control, with a tool for every listed window. Gone with the bar window, its owner.
    void createToolTips(BrowserWindowList& list);
    HWND toolTipWindow() const noexcept { return toolTips_; }
    // Relays a queued mouse message for the bar or its children to the tool tip control.
    void relayToToolTips(const MSG& msg);
    void addTool(HWND window);
    void deleteTool(HWND window);
    // The answer to the tool tip's request for a browser button's text; false for another notification.
    LRESULT onNotify(const NMHDR* header);

    // The WM_PAINT of the bar; lays the buttons out again when the list or the bar's size changed.
    void paint(BrowserWindowList& list);
    // Marks the buttons of a window (either may be listed more than once) to be drawn again.
    void invalidateButton(HWND window);
    void invalidateEntry(const BrowserEntry& entry);

    // The button under a point in client coordinates (-1 for none), and what a left press there on that
    // button meets.
    int hit(POINT p) const;
    core::LeftPress leftPressAt(int index, POINT p, bool shift) const;

    // The answer to WM_BAR_WORKCOUNT.
    LRESULT workCount(WPARAM which) const;

  private:
    void drawStrip(const Canvas& canvas, const RECT& client, const std::vector<RECT>& rects);
    void layOut(BrowserWindowList& list, const RECT& client);
    HDC backBuffer(HDC screen, const RECT& client);
    void paintButton(const Canvas& canvas, const BrowserEntry& entry);
    void moveTool(const BrowserEntry& entry);
    // Tells the control where every button that moved since it was last told now is.
    void moveTools(BrowserWindowList& list);

    BrowserTracker& tracker_;
    HWND bar_ = nullptr;
    HWND toolTips_ = nullptr;
    bool toolsStale_ = false;
    win::Icon closeGlyphIcon_;
    // The text of the browser tool tip being shown.
    std::wstring tipText_;
    // The layout of the last paint, and the list change and client size it was made for.
    core::ButtonRow row_;
    std::uint64_t rowChanges_ = ~std::uint64_t{0};
    RECT rowClient_{};
    // The strip's off-screen copy; the bitmap outlives its selection in the DC.
    win::Bitmap bufferBitmap_;
    std::uint32_t* bufferPixels_ = nullptr;
    win::MemoryDc bufferDc_;
    SIZE bufferSize_{};
    struct WorkCounts {
        std::uint64_t toolTipMessages = 0;
        std::uint64_t buttonsPainted = 0;
        std::uint64_t paintMicroseconds = 0;
    } work_;
};

} // namespace app
