// The monitors the system shows now, in its own order, each with the handle its calls take today and what
// outlives a change of the display: the device name.
#pragma once
#include <windows.h>

#include <vector>

#include "core/monitor_bars.h"

namespace win {

struct Monitor {
    HMONITOR handle = nullptr;
    core::MonitorInfo info;
};

std::vector<Monitor> displayMonitors();

inline RECT toRect(const core::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace win
