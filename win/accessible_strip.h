// An accessible object for a window that paints its own push buttons: assistive technology sees the window's
// client area as a tool bar whose children are the buttons. Plain COM; the object asks its source for the
// buttons on every call, so it never holds stale state, and answers "disconnected" once the source is gone.
#pragma once
#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace win {

struct AccessibleButton {
    std::string name;          // UTF-8
    std::string defaultAction; // UTF-8: what a click does
    RECT screenRect{};
    bool pressed = false;
    bool alert = false; // its window calls for the user's attention
    // Where the keyboard is; every button can take it.
    bool focused = false;
};

class AccessibleSource {
  public:
    virtual ~AccessibleSource() = default;
    virtual HWND accessibleWindow() const = 0;
    virtual std::vector<AccessibleButton> accessibleButtons() const = 0;
    // Does what a click on the button (0-based) does.
    virtual void pressAccessibleButton(int index) = 0;
};

// Interface ids come from __uuidof: the import library of oleacc.dll turns IID_IAccessible into a thunk.

// A new object with one reference held by the caller; null when out of memory.
IAccessible* createAccessibleStrip(AccessibleSource* source);
// LresultFromObject, with oleacc.dll loaded the first time a client asks: most runs never meet a screen
// reader, and loading it at start would cost every start. An error HRESULT when it cannot be loaded.
LRESULT lresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object);

// Cuts the object off its source (which is going away); later calls fail as disconnected.
void detachAccessibleStrip(IAccessible* strip);

} // namespace win
