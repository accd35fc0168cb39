// The bar's own picture buttons: New browser window near the left end, Close and Hide at both ends.
#pragma once
#include <windows.h>

#include <array>
#include <cstddef>
#include <vector>

#include "controls/hover_button.h"

namespace app {

class OwnButtons {
  public:
    static constexpr std::size_t kCount = 5;

    // Creates the buttons on the bar at the bar's DPI; one that cannot be made is left out.
    void create(HWND bar, int dpi);
    // Moves and redraws them for a new DPI.
    void scale(int dpi);
    // Gives the tool tips the texts of the interface language now chosen.
    void retitle();
    // The colours of their tool tips, those shown already and those made later.
    void setToolTipColours(COLORREF face, COLORREF text);
    // Places the pairs at both ends of a bar cx pixels wide.
    void layOut(int cx, int dpi);
    // Hands a queued message for one of them to it; false when it is for none.
    bool relay(const MSG& msg);
    // The buttons left to right as they stand on the bar (a button never made has no window).
    const controls::CHoverButton& leftToRight(std::size_t i) const;
    // The buttons that were made, left to right: the places the keyboard visits after the browser buttons.
    std::vector<controls::CHoverButton*> made();

  private:
    // Where one of the pairs belongs on a bar cx pixels wide.
    RECT placeOf(std::size_t i, int cx, int dpi) const;

    // In creation order, as the table in own_buttons.cpp lists them.
    std::array<controls::CHoverButton, kCount> buttons_;
};

} // namespace app
