#include "app/hook_installs.h"

#include "hooks/shell/cvsh.h"
#include "hooks/taskbar/cvth.h"

namespace app {

bool ShellHookInstall::install(HWND target) {
    if (!SetShellHook(target)) return false;
    InterlockedExchange(&installed_, 1);
    return true;
}

void ShellHookInstall::release() noexcept {
    if (InterlockedExchange(&installed_, 0) != 0) RemoveShellHook();
}

bool TaskbarHookInstall::install(int catchExplorerWindows) {
    usesTabControl_ = FindTaskbarTabControl() != nullptr;
    if (!usesTabControl_) return true;
    // Marked before the call: a hook half made is taken down all the same.
    InterlockedExchange(&installed_, 1);
    return SetTaskbarHook(catchExplorerWindows) != 0;
}

void TaskbarHookInstall::release() noexcept {
    if (InterlockedExchange(&installed_, 0) != 0) RemoveTaskbarHook();
}

} // namespace app
