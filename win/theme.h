// The Windows theme as the system reports it now: light or dark apps, high contrast, and the system colours
// a high-contrast theme draws with.
#pragma once
#include <windows.h>

#include "core/theme_colours.h"

namespace win {

core::Theme systemTheme();
core::SystemColours systemColours();

// Whether a WM_SETTINGCHANGE or WM_SYSCOLORCHANGE may have changed what systemTheme() or systemColours()
// answer: the switch of the app theme is announced as "ImmersiveColorSet".
bool themeMayHaveChanged(UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace win
