// Program-wide objects: the settings record and the two fonts. They live from start-up to the end of the
// process and are touched only on the user-interface thread.
#pragma once
#include <windows.h>

#include <string>

#include "app/bar_ids.h"
#include "core/platform_notices.h"
#include "core/program_name.h"
#include "core/settings.h"
#include "core/theme_colours.h"
#include "win/handle.h"

namespace app {

core::Settings& settings();

// Reads every setting from the registry and makes the two fonts.
void loadSettingsAndFonts();

// The colour of each part of the bar, by the settings and the Windows theme as last read.
core::PartColours barColours();
// Reads the Windows theme and the system colours again: at start-up and when the system says they changed.
void readTheme();

// The font of the main bar's browser buttons; replaced when the user picks another font.
HFONT buttonFont();
void rebuildButtonFont();
// The button font of the settings at a DPI, owned by the caller, and a count of the font's changes by the
// user: a strip at another DPI makes its own again when it moves on.
HFONT makeButtonFont(int dpi);
unsigned buttonFontChanges();
// The DPI of the bar's monitor: the stored pixel sizes and the font height are scaled to it.
int barDpi();
// Takes a new DPI and makes the button font for it.
void setBarDpi(int dpi);
// The fixed font of the program's dialogs.
HFONT dialogFont();

HINSTANCE instance();

constexpr const char* kBarTitle = "Corvane! main window";
// The bars on the other monitors: another title, so that the single-instance check finds the main one only.
constexpr const char* kOtherBarTitle = "Corvane! bar";
// The program's name, the caption of its message boxes.
constexpr const char* kAppName = core::kProgramName;

// The program's standard message box: the text, an OK button, the program's name as caption. Returns when
// the user has closed it.
void showAppMessage(HWND owner, const std::string& text);

// Starts the program: false when it must end at once (another copy runs, or the bar could not be made).
bool startProgram();
// The message loop, with the bar's pre-translation; returns the exit code.
int runMessageLoop();

} // namespace app
