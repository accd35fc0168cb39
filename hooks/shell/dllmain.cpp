#include <windows.h>

// Nothing to set up or tear down: the library's only state is its shared section.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
