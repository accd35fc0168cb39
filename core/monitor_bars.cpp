#include "core/monitor_bars.h"

#include "core/settings.h"

namespace core {

std::vector<int> barsToMake(const std::vector<MonitorInfo>& monitors, int32_t barsOn,
                            const std::string& chosen) {
    if (monitors.empty()) return {};
    const int count = static_cast<int>(monitors.size());
    int primary = 0;
    for (int i = 0; i < count; ++i)
        if (monitors[static_cast<std::size_t>(i)].primary) {
            primary = i;
            break;
        }
    if (barsOn == kBarsOnPrimary) return {primary};
    if (barsOn == kBarsOnChosen) {
        for (int i = 0; i < count; ++i)
            if (!chosen.empty() && monitors[static_cast<std::size_t>(i)].device == chosen) return {i};
        return {primary};
    }
    std::vector<int> bars{primary};
    for (int i = 0; i < count; ++i)
        if (i != primary) bars.push_back(i);
    return bars;
}

int monitorOverlappedMost(const std::vector<Rect>& monitors, const Rect& window) {
    int best = -1;
    int64_t bestArea = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const Rect& m = monitors[i];
        const int64_t width = int64_t{std::min(m.right, window.right)} - std::max(m.left, window.left);
        const int64_t height = int64_t{std::min(m.bottom, window.bottom)} - std::max(m.top, window.top);
        if (width <= 0 || height <= 0 || width * height <= bestArea) continue;
        bestArea = width * height;
        best = static_cast<int>(i);
    }
    return best;
}

} // namespace core
