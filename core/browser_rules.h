// What makes a window a browser window, and what its button says.
#pragma once
#include <string>
#include <string_view>

#include "core/browser_classes.h"

namespace core {

// The suffix the browser adds to every page title; the buttons leave it out.
constexpr std::string_view kBrowserTitleSuffix = " - Microsoft Internet Explorer";

// The button text of a window: its text without any occurrence of the browser's suffix, trimmed of white
// space at both ends.
std::string browserTitle(std::string_view windowText);

// A browser frame ("IEFrame"), or a folder window ("CabinetWClass", "ExplorerWClass") while those are
// caught. Whole name, letter case included.
bool isTrackedClass(std::string_view className, bool catchExplorerWindows);

// The program of the built-in browser command (the command without its arguments); empty for any other
// command, which is the user's to keep as typed.
std::string_view builtInBrowserProgram(std::string_view command);

// The button text of a window of one of today's browsers: its text without that browser's own suffix, which
// counts only at the very end (a page may well be titled after another browser).
std::string otherBrowserTitle(std::string_view windowText, const BrowserProgram& program);

} // namespace core
