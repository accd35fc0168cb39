// What makes a window a browser window, what its button says, and where it is put on the screen.
#pragma once
#include <string>
#include <string_view>

#include "core/settings.h"

namespace core {

// The suffix the browser adds to every page title; the buttons leave it out.
constexpr std::string_view kBrowserTitleSuffix = " - Microsoft Internet Explorer";

// The button text of a window: its text without any occurrence of the browser's suffix, trimmed of white space
// at both ends.
std::string browserTitle(std::string_view windowText);

// A browser frame ("IEFrame"), or a folder window ("CabinetWClass") while those are caught. Whole name,
// letter case included.
bool isTrackedClass(std::string_view className, bool catchExplorerWindows);

enum class Placement { Unchanged, Maximise, Align };

// How browser windows are put on the screen. Maximising wins when both options are on (the preferences keep
// them exclusive, but the registry need not).
Placement placementFor(const Settings& settings);

} // namespace core
