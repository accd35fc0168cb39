// Everything the bar holds in the shell and the system on behalf of its window: the appbar strip, the tray
// icon, the hot keys, the hooks and the taskbar buttons it took off. Released in one place, by the bar's
// teardown and by the crash guard alike.
#pragma once
#include <windows.h>

#include "app/appbar.h"
#include "app/hook_installs.h"
#include "app/hot_keys.h"
#include "app/tray_icon.h"

namespace app {

struct ShellRegistrations {
    // The bars beside the main one, one a monitor; a monitor past these gets none, its windows show on the
    // main bar. Kept here so that a crash gives their strips back too.
    static constexpr int kMaxOtherBars = 7;
    AppBar appBar;
    AppBar otherBars[kMaxOtherBars];
    TrayIcon trayIcon;
    HotKeys hotKeys;
    ShellHookInstall shellHook;
    TaskbarHookInstall taskbarHook;
    CloakEventHook cloakEvents;

    void attach(HWND bar) noexcept;
    // Gives everything back. Safe inside an exception filter on any thread: no allocation, and each part
    // gives back only once however often this runs.
    void release() noexcept;
};

} // namespace app
