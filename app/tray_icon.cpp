#include "app/tray_icon.h"

#include <shellapi.h>

#include "app/app.h"
#include "app/bar_ids.h"
#include "resources/resource.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace app {

namespace {
NOTIFYICONDATAW trayIconData(HWND bar) {
    NOTIFYICONDATAW nid{};
    // The first version of the record: every shell since the first one takes it.
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = bar;
    nid.uID = TRAY_ICON_ID;
    return nid;
}
} // namespace

void TrayIcon::add(HICON icon) {
    NOTIFYICONDATAW nid = trayIconData(bar_);
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_BAR_TRAYNOTIFY;
    nid.hIcon = icon;
    setTip(nid);
    InterlockedExchange(&added_, 1);
    Shell_NotifyIconW(NIM_ADD, &nid);
}

void TrayIcon::retitle() {
    if (!added_) return;
    NOTIFYICONDATAW nid = trayIconData(bar_);
    nid.uFlags = NIF_TIP;
    setTip(nid);
    Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void TrayIcon::setTip(NOTIFYICONDATAW& nid) {
    std::wstring tip = win::uiWideText(instance(), IDS_TRAY_TIP);
    if (tip.empty()) tip = win::widen(kAppName);
    lstrcpynW(nid.szTip, tip.c_str(), static_cast<int>(sizeof(nid.szTip) / sizeof(nid.szTip[0])));
}

void TrayIcon::release() noexcept {
    if (InterlockedExchange(&added_, 0) == 0) return;
    NOTIFYICONDATAW nid = trayIconData(bar_);
    Shell_NotifyIconW(NIM_DELETE, &nid);
}

} // namespace app
