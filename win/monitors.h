// The monitors the system shows now, in its own order, each with the handle its calls take today and what
// outlives a change of the display: the device name.
#pragma once
#include <windows.h>

#include <vector>

#include "core/monitor_bars.h"
#include "core/preference_rules.h"

namespace win {

struct Monitor {
    HMONITOR handle = nullptr;
    core::MonitorInfo info;
};

std::vector<Monitor> displayMonitors();

// How far right and down the monitors reach, in virtual-screen pixels: the room a browser window may be
// aligned in.
core::ScreenSize virtualScreenReach();

inline RECT toRect(const core::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace win
