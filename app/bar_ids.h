// Every id the bar window answers to, in one table: its private messages, the message names it registers,
// its timers, its tray icon and its hot keys. An id another boundary fixes (the hook and fetch libraries, the
// hover button, the preferences) is defined there, once, and only named here, so that the bar's ids can be
// read, and kept apart, in one place.
#pragma once
#include <windows.h>

#include "controls/hover_button.h"
#include "core/bar_commands.h"
#include "core/platform_notices.h"
#include "hooks/shell/cvsh.h"
#include "netfetch/cvil.h"
#include "prefs/preferences_host.h"

namespace app {

// Messages the bar window receives from the program's other pieces.
constexpr UINT WM_BAR_TRAYNOTIFY = WM_USER + 1;
constexpr UINT WM_BAR_APPBARNOTIFY = WM_USER + 2;
constexpr UINT WM_BAR_SHELLEVENT = cvsh::kShellEventMessage;
constexpr UINT WM_BAR_HTTPREPLY = cvil::kReplyMessage;
// Asked by tests and benchmarks: the bar answers with one of its work counts (wParam, a BarWork) since it
// started. Counting is always on; each count is one increment where the work is done.
constexpr UINT WM_BAR_WORKCOUNT = WM_USER + 16;
enum class BarWork : WPARAM {
    ToolTipMessages = 0,
    ButtonsPainted = 1,
    EntriesVisited = 2,
    PaintMicroseconds = 3
};

// Sent by the bar's own cloak events hook on the bar's thread (app/hook_installs.*): the shell hid or showed
// the window in wParam.
constexpr UINT WM_BAR_CLOAKEVENT = WM_USER + 17;
// Posted by the bar's own WinEvent hooks (app/move_watch.*): a window (wParam) ended a move, a size or its
// minimising, and may be on another monitor now.
constexpr UINT WM_BAR_WINDOWMOVED = WM_USER + 18;

// Registered by the shell's new taskbar: the bar puts back what it had there.
constexpr const char* kTaskbarCreatedMessageName = "TaskbarCreated";

constexpr UINT_PTR AUTOHIDE_TIMER_ID = 32768;
// Sent by the New browser button while it is held.
constexpr UINT_PTR HOLD_TIMER_ID = controls::CHoverButton::HOLD_TIMER_ID;
// Runs only while a reported browser window waits to be shown before it is placed, or (today's browsers)
// to become one the bar tracks.
constexpr UINT_PTR PENDING_TIMER_ID = 32772;
constexpr UINT TRAY_ICON_ID = 32771;
// Takes the bitness notice down.
constexpr UINT_PTR NOTICE_TIMER_ID = 32773;
// Registered by the bar at start-up and again by the preferences when the user changes a combination.
constexpr int HOTKEY_ID_HIDE = prefs::kHotKeyIdHide;
constexpr int HOTKEY_ID_NEW = prefs::kHotKeyIdNew;
constexpr int HOTKEY_ID_FOCUS = prefs::kHotKeyIdFocus;

// An elevated bar lets exactly these in from other programs.
static_assert(WM_BAR_TRAYNOTIFY == core::kFirstMessageFromOthers &&
              WM_BAR_APPBARNOTIFY == WM_BAR_TRAYNOTIFY + 1 &&
              WM_BAR_SHELLEVENT == core::kLastMessageFromOthers);

constexpr UINT kBarMessages[] = {WM_BAR_TRAYNOTIFY, WM_BAR_APPBARNOTIFY, WM_BAR_SHELLEVENT, WM_BAR_HTTPREPLY,
                                 WM_BAR_WORKCOUNT,  WM_BAR_CLOAKEVENT,   WM_BAR_WINDOWMOVED};
constexpr UINT_PTR kBarTimers[] = {AUTOHIDE_TIMER_ID, HOLD_TIMER_ID, PENDING_TIMER_ID, NOTICE_TIMER_ID};
constexpr int kBarHotKeys[] = {HOTKEY_ID_HIDE, HOTKEY_ID_NEW, HOTKEY_ID_FOCUS};
static_assert(core::allDistinct(kBarMessages), "two of the bar's messages share a number");
static_assert(core::allDistinct(kBarTimers), "two of the bar's timers share an id");
static_assert(core::allDistinct(kBarHotKeys), "two of the bar's hot keys share an id");

} // namespace app
