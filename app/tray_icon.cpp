#include "app/tray_icon.h"

#include <shellapi.h>

#include "app/app.h"
#include "app/bar_ids.h"

namespace app {

namespace {
NOTIFYICONDATAA trayIconData(HWND bar) {
    NOTIFYICONDATAA nid{};
    // The first version of the record: every shell since the first one takes it.
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = bar;
    nid.uID = TRAY_ICON_ID;
    return nid;
}
} // namespace

void TrayIcon::add(HICON icon) {
    NOTIFYICONDATAA nid = trayIconData(bar_);
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_BAR_TRAYNOTIFY;
    nid.hIcon = icon;
    lstrcpynA(nid.szTip, kAppName, sizeof(nid.szTip));
    InterlockedExchange(&added_, 1);
    Shell_NotifyIconA(NIM_ADD, &nid);
}

void TrayIcon::release() noexcept {
    if (InterlockedExchange(&added_, 0) == 0) return;
    NOTIFYICONDATAA nid = trayIconData(bar_);
    Shell_NotifyIconA(NIM_DELETE, &nid);
}

} // namespace app
