// Which monitors get a bar, and which bar shows a window: the rules behind a bar on every monitor. The
// monitors are what the system lists now; a monitor is named by its device name, which outlives a change of
// the display, where the system's monitor handles need not.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/rect.h"

namespace core {

struct MonitorInfo {
    std::string device;
    Rect rect;
    bool primary = false;
};

// The indices into monitors of the monitors that get a bar, the main bar's first: the primary monitor, or for
// kBarsOnChosen the chosen one while it is there. An unknown barsOn counts as every monitor. A list that
// names no primary monitor takes its first as the primary; an empty list gives no bar.
std::vector<int> barsToMake(const std::vector<MonitorInfo>& monitors, int32_t barsOn,
                            const std::string& chosen);

// The monitor a window of this rectangle is on, as the system answers for a window that is not minimised: the
// one it overlaps most, the first of equals. -1 when it overlaps none (or has no size): the system then names
// the nearest, and for a minimised window the one it will be restored to, which only it knows.
int monitorOverlappedMost(const std::vector<Rect>& monitors, const Rect& window);

// Whether a strip shows a window. By monitor, a strip shows the windows of its own monitor, and the main
// strip also those of a monitor without a bar (a bar on one monitor alone lists every window); otherwise
// every strip shows every window. A window whose monitor is not known yet shows on the main strip.
template <class Monitor>
bool stripShows(bool byMonitor, Monitor window, Monitor strip, bool mainStrip,
                const std::vector<Monitor>& withBars) {
    if (!byMonitor || window == strip) return true;
    return mainStrip && std::find(withBars.begin(), withBars.end(), window) == withBars.end();
}

} // namespace core
