// The palette popup of a ColourButton: 40 named colours in a grid, with "Default" above and "Other colors"
// below, operated with the mouse (it holds the capture) or the keyboard. It reports the highlighted colour
// to its owner button with WM_COLOUR_TRACK and ends with exactly one WM_COLOUR_ACCEPT or WM_COLOUR_CANCEL.
#pragma once
#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "core/colour_layout.h"
#include "core/colour_palette.h"
#include "win/handle.h"
#include "win/window.h"

namespace controls {

using ColourNames = std::array<std::string, core::kColourCount>;

class ColourPopup : public win::Window {
  public:
    // Opens a popup at the screen point (x, y), normally the button's lower-left corner. The popup owns
    // itself and is gone once it has reported its end. Returns its window, or null when none could be made.
    // names, when given, are the cells' tips in palette order in place of the palette's own names.
    static HWND open(int x, int y, COLORREF colour, HWND ownerButton, const char* defaultText,
                     const char* customText, const ColourNames* names = nullptr);

    // The 16 custom colours of the system colour dialog, shared by every popup of the process.
    static COLORREF* customColours();

    static constexpr const char* kClassName = "CorvaneColourPopup";

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onFinalMessage() override;

  private:
    ColourPopup(COLORREF colour, HWND ownerButton, const char* defaultText, const char* customText,
                const ColourNames* names);
    bool build(int x, int y);
    void makeFont();
    void makePalette();
    void layOut(int x, int y);
    void addToolTips();

    LRESULT onMouseMove(LPARAM lParam);
    LRESULT onLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT onKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT onKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT onActivateApp(WPARAM wParam, LPARAM lParam);
    LRESULT onQueryNewPalette(WPARAM wParam, LPARAM lParam);
    LRESULT onPaletteChanged(WPARAM wParam, LPARAM lParam);
    LRESULT onPaint();
    void relayToToolTip(UINT msg, WPARAM wParam, LPARAM lParam) const;

    void highlight(int index);
    void end(bool accept);
    bool runColourDialog();

    void drawEntry(HDC dc, int index) const;
    void drawCell(HDC dc, int index) const;
    void drawTextEntry(HDC dc, int index) const;
    void drawEntryFace(HDC dc, RECT r, int index, const std::string& text) const;
    HFONT font() const;

    HWND owner_;
    std::string defaultText_;
    std::string customText_;
    ColourNames names_;
    COLORREF initialColour_;
    COLORREF colour_;
    int hotIndex_ = core::NO_ENTRY;
    int chosenIndex_ = core::NO_ENTRY;
    std::optional<core::PopupLayout> layout_;
    win::Font font_;
    win::Palette palette_;
    HWND toolTip_ = nullptr; // owned by the popup's window, which destroys it
    bool built_ = false;
    bool ending_ = false;
    bool inDialog_ = false;
    bool destroyedInDialog_ = false;
};

} // namespace controls
