// A test dialog holding one ColourButton, and what the tests read of its popup.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "kit/input.h"
#include "kit/pixels.h"
#include "kit/wait.h"

#include "controls/colour_button.h"
#include "win/dialog.h"

namespace colourtest {

struct Note {
    UINT msg;
    WPARAM colour;
    LPARAM id;
    bool operator==(const Note& o) const { return msg == o.msg && colour == o.colour && id == o.id; }
};

// Posted to the test dialog: it destroys itself, as a window closed under an open popup would.
constexpr UINT kDestroyMessage = WM_APP + 1;

// Records every colour message its button sends it.
class TestDialog : public win::Dialog {
  public:
    std::vector<Note> notes;
    std::function<void(const Note&)> onNote;
    HWND button() const { return GetDlgItem(hwnd(), 301); }

  protected:
    INT_PTR dialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

RECT windowRect(HWND hwnd);
POINT centre(const RECT& r);

// The tool tip window the popup made for its cells.
HWND toolTipOf(HWND popup);
// A cell's rectangle in screen coordinates, as the popup gave it to its tool tip.
RECT cellOnScreen(HWND popup, int index);

// GDI objects this process holds: GetGuiResources where the system counts them, else the entries in use of
// the process's GDI handle table. Returns -1 when neither can be read.
long gdiObjectCount();

} // namespace colourtest
