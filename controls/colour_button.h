// A push button that picks a colour: it draws a swatch of its colour beside its caption and, when clicked,
// opens the palette popup under itself. Its parent hears of everything through the WM_COLOUR_* messages,
// each with the colour in wParam and the button's control id in lParam.
#pragma once
#include <windows.h>

#include <string>

#include "controls/colour_popup.h"
#include "core/colour_palette.h"
#include "win/window.h"

namespace controls {

constexpr UINT WM_COLOUR_TRACK = WM_USER + 1001;    // the highlighted colour, while the popup is open
constexpr UINT WM_COLOUR_DROPDOWN = WM_USER + 1002; // the popup opened; the button's colour
constexpr UINT WM_COLOUR_CLOSEUP = WM_USER + 1003;  // the popup ended; the final colour
constexpr UINT WM_COLOUR_ACCEPT = WM_USER + 1004;   // after CLOSEUP: the chosen colour
constexpr UINT WM_COLOUR_CANCEL = WM_USER + 1005;   // after CLOSEUP: the colour at opening

// The colour of the "Default" entry; map it with core::resolveColour() to a default of your own.
constexpr COLORREF COLOUR_DEFAULT = core::COLOUR_DEFAULT;

class ColourButton : public win::Window {
  public:
    ColourButton();

    // Takes over a push button of a dialog or window of the layer: the button becomes owner-drawn, and its
    // parent's WM_COMMAND (a click) and WM_DRAWITEM for it reach it by reflection.
    bool attach(HWND dialog, int controlId);
    bool attach(HWND button);

    void setColour(COLORREF colour);
    COLORREF colour() const { return colour_; }
    bool popupOpen() const { return popupOpen_; }
    // The popup while it is open, else null.
    HWND popup() const;

    // The texts of the popup's two entries; an empty text leaves that entry out.
    void setTexts(std::string defaultText, std::string customText);
    // The cells' tips in palette order; an empty name keeps the palette's own.
    void setNames(const ColourNames& names) { names_ = names; }

    // Opens the popup as a click does.
    void open();

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool reflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onFinalMessage() override;

  private:
    LRESULT onDrawItem(const DRAWITEMSTRUCT& item);
    LRESULT onDoubleClick(WPARAM wParam, LPARAM lParam);
    LRESULT onTrack(WPARAM colour);
    LRESULT onEnded(UINT msg, WPARAM colour);
    void drawSwatch(HDC dc) const;
    void drawCaption(const DRAWITEMSTRUCT& item) const;
    void notifyParent(UINT msg, COLORREF colour) const;

    COLORREF colour_;
    bool popupOpen_ = false;
    HWND popup_ = nullptr;
    std::string defaultText_ = "Default";
    std::string customText_ = "Other colors";
    ColourNames names_;
};

} // namespace controls
