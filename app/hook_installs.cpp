#include "app/hook_installs.h"

#include "app/bar_ids.h"

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

namespace {
// One bar per process: the window the events of its one hook go to.
HWND g_cloakTarget = nullptr;

void CALLBACK onCloakEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    // Events for a window's parts (its caret, its scroll bars) say nothing of the window.
    if (!window || object != OBJID_WINDOW || child != CHILDID_SELF || !g_cloakTarget) return;
    SendMessageW(g_cloakTarget, WM_BAR_CLOAKEVENT, reinterpret_cast<WPARAM>(window), 0);
}
} // namespace

bool CloakEventHook::install(HWND target) {
    if (hook_) return true;
    g_cloakTarget = target;
    hook_.reset(
        SetWinEventHook(kCloakedEvent, kUncloakedEvent, nullptr, onCloakEvent, 0, 0, WINEVENT_OUTOFCONTEXT));
    thread_ = GetCurrentThreadId();
    return installed();
}

void CloakEventHook::release() noexcept {
    if (!hook_ || GetCurrentThreadId() != thread_) return;
    hook_.reset();
    g_cloakTarget = nullptr;
}

} // namespace app
