#include "hooks/taskbar/taskbar_hook.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    cvth::noteSystemFamily();
    if (reason == DLL_PROCESS_ATTACH) cvth::onProcessAttach();
    if (reason == DLL_PROCESS_DETACH) cvth::onProcessDetach();
    return TRUE;
}
