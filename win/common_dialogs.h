// The system's colour, font and file dialogs, with their library loaded the first time one opens. Most runs of
// the program never show either, and loading the library at start costs time and memory on every start.
#pragma once
#include <windows.h>

#include <commdlg.h>

namespace win {

// As ChooseColorA, ChooseFontA and GetOpenFileNameA; FALSE (nothing chosen) when the library cannot be loaded.
BOOL chooseColour(CHOOSECOLORA* choice);
BOOL chooseFont(CHOOSEFONTA* choice);
BOOL openFileName(OPENFILENAMEA* choice);

} // namespace win
