// Every id the bar window answers to, in one table: its private messages, the message names it registers,
// its timers, its tray icon and its hot keys. An id another boundary fixes (the hook and fetch libraries, the
// hover button, the preferences) is defined there, once, and only named here, so that the bar's ids can be
// read, and kept apart, in one place.
#pragma once
#include <windows.h>

#include <cstddef>

#include "controls/hover_button.h"
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

// Registered by the shell's new taskbar: the bar puts back what it had there.
constexpr const char* kTaskbarCreatedMessageName = "TaskbarCreated";

constexpr UINT_PTR AUTOHIDE_TIMER_ID = 32768;
// Sent by the New browser button while it is held.
constexpr UINT_PTR HOLD_TIMER_ID = controls::CHoverButton::HOLD_TIMER_ID;
// Runs only while a reported browser window waits to be shown before it is placed, or (today's browsers)
// to become one the bar tracks.
constexpr UINT_PTR PENDING_TIMER_ID = 32772;
constexpr UINT TRAY_ICON_ID = 32771;
// Registered by the bar at start-up and again by the preferences when the user changes a combination.
constexpr int HOTKEY_ID_HIDE = prefs::kHotKeyIdHide;
constexpr int HOTKEY_ID_NEW = prefs::kHotKeyIdNew;

namespace detail {
template <class T, std::size_t N> constexpr bool allDistinct(const T (&ids)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = i + 1; j < N; ++j)
            if (ids[i] == ids[j]) return false;
    return true;
}
constexpr UINT kMessages[] = {WM_BAR_TRAYNOTIFY, WM_BAR_APPBARNOTIFY, WM_BAR_SHELLEVENT, WM_BAR_HTTPREPLY,
                              WM_BAR_WORKCOUNT};
constexpr UINT_PTR kTimers[] = {AUTOHIDE_TIMER_ID, HOLD_TIMER_ID, PENDING_TIMER_ID};
constexpr int kHotKeys[] = {HOTKEY_ID_HIDE, HOTKEY_ID_NEW};
} // namespace detail
static_assert(detail::allDistinct(detail::kMessages), "two of the bar's messages share a number");
static_assert(detail::allDistinct(detail::kTimers), "two of the bar's timers share an id");
static_assert(detail::allDistinct(detail::kHotKeys), "two of the bar's hot keys share an id");
// The shell's and the fetch library's messages are the bar's private range too.
static_assert(WM_BAR_TRAYNOTIFY >= WM_USER && WM_BAR_WORKCOUNT < WM_APP, "a bar message outside its range");

} // namespace app
