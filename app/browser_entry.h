// An entry of the browser windows the bar tracks, and their list: one entry per window in button order.
#pragma once
#include <windows.h>

#include <string>

#include "core/browser_list.h"

namespace app {

struct BrowserEntry {
    HWND window = nullptr;
    // The button text: the window's text by the title rule.
    std::string title;
    // The button in the bar's client coordinates, as last painted; empty until then.
    RECT buttonRect{0, 0, 0, 0};
    // Where the tool tip control was last told the button is.
    RECT toolRect{0, 0, 0, 0};
};

using BrowserWindowList = core::WindowList<BrowserEntry>;

} // namespace app
