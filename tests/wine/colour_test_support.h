// A test dialog holding one ColourButton, real input through SendInput, and waits on conditions.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

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

// Pumps this thread's messages until the condition holds or the time is up.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
// Lets queued input and paint messages run out.
void settle();

void moveMouse(int x, int y);
void click(int x, int y);
void pressKey(WORD vk);

RECT windowRect(HWND hwnd);
POINT centre(const RECT& r);
COLORREF screenPixel(int x, int y);

// The tool tip window the popup made for its cells.
HWND toolTipOf(HWND popup);
// A cell's rectangle in screen coordinates, as the popup gave it to its tool tip.
RECT cellOnScreen(HWND popup, int index);

// GDI objects this process holds: GetGuiResources where the system counts them, else the entries in use of
// the process's GDI handle table. Returns -1 when neither can be read.
long gdiObjectCount();

// Saves a part of the screen as a 24-bit BMP file.
bool saveScreen(const RECT& area, const char* path);

} // namespace colourtest
