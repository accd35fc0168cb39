// What makes a window a browser window, and what its button says.
#pragma once
#include <string>
#include <string_view>

namespace core {

// The suffix the browser adds to every page title; the buttons leave it out.
constexpr std::string_view kBrowserTitleSuffix = " - Microsoft Internet Explorer";

// The button text of a window: its text without any occurrence of the browser's suffix, trimmed of white space
// at both ends.
std::string browserTitle(std::string_view windowText);

// A browser frame ("IEFrame"), or a folder window ("CabinetWClass") while those are caught. Whole name,
// letter case included.
bool isTrackedClass(std::string_view className, bool catchExplorerWindows);

} // namespace core
