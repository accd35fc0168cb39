// Today's browsers beside the classic frame: which of their windows the bar tracks, and their button text.
// Their class alone says little (other programs draw with the same toolkit), so the process decides, and
// only a window that would have a taskbar button of its own counts.
#pragma once
#include <windows.h>

#include <string>

#include "core/browser_classes.h"

namespace app {

// A window's class name, read once for all the questions one event asks: for another program's window each
// reading costs Wine two calls to its server. Empty when the window is gone.
struct ClassName {
    explicit ClassName(HWND window) {
        if (GetClassNameA(window, text, sizeof(text)) <= 0) text[0] = '\0';
    }
    char text[256] = {};
};

// The browser the window belongs to, from its class name already read (ClassName), when it is one of today's
// browsers and those are caught; else null.
const core::BrowserProgram* otherBrowserProgram(HWND window, const char* className);

// Visible, unowned (or asking for a button all the same), not a tool window, with a caption and a title,
// and not cloaked.
bool wouldHaveTaskbarButton(HWND window);

// The button text of a window of one of today's browsers, in the bar's text encoding.
std::string otherBrowserButtonText(HWND window, const core::BrowserProgram& program);

// Where the built-in command names a browser that is not installed (Internet Explorer is gone from today's
// systems), opens a window of the user's default browser instead. False when the command is another one, the
// program exists, or no default browser is known: the command then runs as it is.
bool openDefaultBrowserInstead(const std::string& commandLine);

} // namespace app
