// Where the program's libraries come from: the system folder for the system's, the program's own folder only
// for its own. A folder the program was copied into (Downloads, a share) may hold a planted file named like a
// system library, which the ordinary search would find first.
#pragma once
#include <windows.h>

#include <commctrl.h>

namespace win {

// Restricts the search of every later load to the system folder, where the system offers that (looked up at
// run time: older systems lack it and still start); the current folder leaves the search in any case.
void restrictLibrarySearch();

// Loads a library of the system by its full path in the system folder; null when it is not there.
HMODULE loadSystemLibrary(const wchar_t* fileName);

// The common controls library is not on the loader's list of known libraries: it is never imported, but
// loaded from the system folder on first use and kept. Each call fails (FALSE, or the default procedure's
// answer) when the library or the function is missing.
BOOL initCommonControls(const INITCOMMONCONTROLSEX& classes);
BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT defSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace win
