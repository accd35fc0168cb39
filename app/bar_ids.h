// The bar window's timer, tray-icon and hot-key ids. Those another folder already fixes are named here after
// their one definition, so the bar's ids can be read, and kept apart, in one place.
#pragma once
#include <windows.h>

#include "controls/hover_button.h"
#include "prefs/preferences_host.h"

namespace app {

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

} // namespace app
