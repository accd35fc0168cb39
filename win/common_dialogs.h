// The system's colour, font and file dialogs, with their library loaded the first time one opens. Most runs
// of the program never show either, and loading the library at start costs time and memory on every start.
#pragma once
#include <windows.h>

#include <commdlg.h>

namespace win {

// As ChooseColorA, ChooseFontW and GetOpenFileNameW; FALSE (nothing chosen) when the library cannot be
// loaded. Font names and paths go wide so that any character in them survives.
BOOL chooseColour(CHOOSECOLORA* choice);
BOOL chooseFont(CHOOSEFONTW* choice);
BOOL openFileName(OPENFILENAMEW* choice);

} // namespace win
