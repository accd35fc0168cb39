// An entry of the browser windows the bar tracks, and their list: one entry per window in button order. An
// entry holds what is known of its window, never where a view shows it: each strip keeps its own places. What
// later features learn of a window (its icon, a call for attention, its monitor, whether its desktop is
// shown) belongs here, announced to the views as a change of the entry's state.
#pragma once
#include <windows.h>

#include <string>

#include "core/browser_list.h"
#include "win/handle.h"

namespace app {

// The window's small icon as the bar shows it.
struct EntryIcon {
    // What the buttons draw (null: no icon): the copy below, or a program file's icon the bar keeps all run.
    HICON shown = nullptr;
    // The bar's own copy of an icon another program may destroy (the window's, its class's), freed with the
    // entry.
    win::Icon copy;
    // What it was copied from: the same icon found again is not copied again.
    HICON source = nullptr;
    // The class's or the program file's icon, shown while the window has not answered with one of its own.
    HICON standIn = nullptr;
    // The asking of the window whose answer counts; 0 for none.
    ULONG_PTR request = 0;
    // The window cannot be asked (see WindowIcons::StandIn): a redraw it reports leaves the icon as it is.
    bool unaskable = false;
};

struct BrowserEntry {
    HWND window = nullptr;
    // The button text: the window's text by the title rule.
    std::string title;
    // The monitor it is on, as last looked at: its button is on that monitor's bar.
    HMONITOR monitor = nullptr;
    // Hidden by the compositor (on a virtual desktop not in view): the strips may leave its button out.
    bool cloaked = false;
    // The window flashed for the user's attention and has not been activated or redrawn calmly since.
    bool attention = false;
    EntryIcon icon;
};

using BrowserWindowList = core::WindowList<BrowserEntry>;

// What a view of the list hears of its changes. Each announcement comes after the list changed, but for a
// removal, which comes while the entry is still there. Every member has a default that ignores it.
class BrowserListObserver {
  public:
    // The order of the entries changed (the list was filled at start-up, the user moved a button): every
    // entry may have moved.
    virtual void orderChanged() {}
    virtual void entryAdded(int /*index*/, HWND /*window*/) {}
    virtual void entryRemoving(int /*index*/, HWND /*window*/) {}
    // Its text or its state changed.
    virtual void entryChanged(int /*index*/) {}
    virtual void activeChanged(HWND /*previous*/, HWND /*now*/) {}

  protected:
    ~BrowserListObserver() = default;
};

} // namespace app
