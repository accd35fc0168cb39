#include <windows.h>

#include "app/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!app::startProgram()) return 0;
    return app::runMessageLoop();
}
