#include "app/shell_registrations.h"

#include "app/taskbar_list.h"

namespace app {

void ShellRegistrations::attach(HWND bar) noexcept {
    appBar.attach(bar);
    trayIcon.attach(bar);
    hotKeys.attach(bar);
}

void ShellRegistrations::release() noexcept {
    appBar.release();
    for (AppBar& other : otherBars)
        other.release();
    trayIcon.release();
    hotKeys.release();
    shellHook.release();
    taskbarHook.release();
    cloakEvents.release();
    // Before any window is asked to close: no browser window may be left without a button.
    giveAllButtonsBackForGood();
}

} // namespace app
