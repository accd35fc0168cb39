// The browser buttons: painted by the window they are drawn in, one per tracked window, laid out in a row,
// hit-tested on mouse presses, each with a tool tip showing its whole title. A strip is a view of the
// tracker: it reads the list and never writes to it, and keeps every place it lays out in its own table, so
// that several strips (one per bar) can show one list.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/browser_tracker.h"
#include "core/button_click.h"
#include "core/button_drag.h"
#include "core/button_layout.h"
#include "core/monitor_bars.h"
#include "core/strip_entries.h"
#include "core/theme_colours.h"
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

// Gives a tool tip control the tips' colours of the theme.
void colourToolTips(HWND tips);

class ButtonStrip final : public BrowserListObserver {
  public:
    explicit ButtonStrip(const BrowserTracker& model) : model_(model) {}

    // The window the strip is drawn in, the owner of its tool tips.
    void attach(HWND window) noexcept { window_ = window; }
    // Which entries the strip shows beside the settings' filter: with byMonitor, those of its own monitor,
    // and on the main strip those of the monitors without a bar (withBars lists the monitors that have one).
    struct MonitorFilter {
        bool byMonitor = false;
        HMONITOR own = nullptr;
        bool main = true;
        std::vector<HMONITOR> withBars;
    };
    void setMonitorFilter(MonitorFilter filter);
    bool shows(const BrowserEntry& entry) const;
    // The DPI the strip is drawn at, its own monitor's: the buttons' sizes, their font, the close glyph and
    // the tool tips' margins follow it. Laid out again at the next paint.
    void setDpi(int dpi);
    int dpi() const noexcept { return dpi_; }

    // The tool tip control, with a tool for every listed window. Gone with the strip's window, its owner.
    void createToolTips();
    HWND toolTipWindow() const noexcept { return toolTips_; }
    // Relays a queued mouse message for the strip's window or its children to the tool tip control.
    void relayToToolTips(const MSG& msg);
    // The answer to the tool tip's request for a browser button's text; false for another notification.
    LRESULT onNotify(const NMHDR* header);

    // The WM_PAINT of the strip's window; lays the buttons out again when the list or the size changed.
    void paint();

    // The button under a point in client coordinates (-1 for none), and what a left press there on that
    // button meets; a button's place as last painted (empty before, and for an entry the strip leaves out).
    int hit(POINT p) const;
    core::LeftPress leftPressAt(int index, POINT p, bool shift) const;
    RECT buttonRect(int index) const;

    // The buttons' extents in list order, for the drop rule.
    std::vector<core::Span> spans() const;
    // While the button at `from` is dragged over the place `to`, the buttons between are drawn making room;
    // (-1, -1) draws the list's order again.
    void showDrag(int from, int to);

    // The keyboard's focus mark on a browser button (-1: none). It stays with its window while the list
    // changes and passes to the neighbour when that window's button goes.
    void setFocusMark(int index);
    int focusMark() const;

    // The answer to WM_BAR_WORKCOUNT.
    LRESULT workCount(WPARAM which) const;

    // What the list's changes mean for the strip.
    void orderChanged() override;
    void entryAdded(int index, HWND window) override;
    void entryRemoving(int index, HWND window) override;
    void entryChanged(int index) override;
    // The settings that decide which entries get a button changed: laid out again at the next paint.
    void filterChanged();
    // Only the two buttons whose face changes are drawn again.
    void activeChanged(HWND previous, HWND now) override {
        invalidateButton(previous);
        invalidateButton(now);
    }

  private:
    // One record per list entry, in list order: a button's place as last laid out, and the place its tool
    // tip control was last told. The list may hold a window twice, each entry with a button of its own, so
    // the records follow the entries' positions, which the announcements keep in step.
    struct Places {
        RECT buttonRect{0, 0, 0, 0};
        // Where a new tool starts (addTool): an entry never given a button has its tool moved off it too.
        RECT toolRect{0, 0, 1, 1};
        // Whether the last layout gave the entry a button.
        bool shown = false;
    };
    struct PlaceTable {
        std::vector<Places> entries;
    };

    void loadCloseGlyph();
    void setToolTipMargins();
    // The button font at the strip's DPI, made again after the user picked another.
    HFONT font();
    void drawStrip(const Canvas& canvas, const RECT& client, const std::vector<RECT>& rects);
    void layOut(const RECT& client);
    HDC backBuffer(HDC screen, const RECT& client);
    void paintButton(const Canvas& canvas, const core::PartColours& colours, const BrowserEntry& entry,
                     const RECT& r);
    void drawFocusMark(const Canvas& canvas, const RECT& r) const;
    // Keeps the focus mark on its window, or passes it on, as the entry at `removing` goes.
    void passFocusMark(int removing);
    void addTool(HWND window);
    void deleteTool(HWND window);
    void moveTool(HWND window, const RECT& r);
    // Tells the control where every button that moved since it was last told now is.
    void moveTools();
    // Marks the buttons of a window (it may be listed more than once) to be drawn again.
    void invalidateButton(HWND window);
    void invalidateAt(int index);
    // The button of the window's last entry, -1 for none.
    int lastSlotOf(HWND window) const;

    const BrowserTracker& model_;
    HWND window_ = nullptr;
    HWND toolTips_ = nullptr;
    bool toolsStale_ = false;
    int dpi_ = 96;
    win::Icon closeGlyphIcon_;
    win::Font font_;
    unsigned fontMadeAt_ = 0;
    // The text of the browser tool tip being shown.
    std::wstring tipText_;
    PlaceTable places_;
    core::EntryShowing showing(const BrowserEntry& entry) const;
    void repaintUnlessElsewhere(bool elsewhere);
    MonitorFilter filter_;
    struct Drag {
        int from = -1;
        int to = -1;
    } drag_;
    struct FocusMark {
        HWND window = nullptr;
        int index = -1;
    } focus_;
    // The layout of the last paint, and the list change and client size it was made for; the entries it
    // shows, in its order. A change of which entries are shown costs a new layout as a change of the list.
    core::ButtonRow row_;
    core::StripSlots slots_;
    bool slotsStale_ = true;
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
