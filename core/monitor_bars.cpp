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

} // namespace core
