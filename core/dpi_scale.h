// Sizes the settings keep in pixels are 96-DPI units; the windows show them at their monitor's DPI.
#pragma once
#include <cstdint>

namespace core {

constexpr int kBaseDpi = 96;

// The DPIs the bar follows, 75 % to 500 %: anything else is not a monitor's DPI, and is ignored.
constexpr int kMinDpi = 72;
constexpr int kMaxDpi = 480;
constexpr bool isSaneDpi(int dpi) {
    return dpi >= kMinDpi && dpi <= kMaxDpi;
}

// A 96-DPI size at the given DPI, rounded half away from zero (a font height is negative).
constexpr int32_t scaleForDpi(int32_t value, int dpi) {
    const int64_t product = static_cast<int64_t>(value) * dpi;
    const int64_t half = kBaseDpi / 2;
    return static_cast<int32_t>(product >= 0 ? (product + half) / kBaseDpi : (product - half) / kBaseDpi);
}

// A size seen at the given DPI back in 96-DPI units: what the settings store.
constexpr int32_t unscaleForDpi(int32_t value, int dpi) {
    if (dpi <= 0) return value;
    const int64_t product = static_cast<int64_t>(value) * kBaseDpi;
    const int64_t half = dpi / 2;
    return static_cast<int32_t>(product >= 0 ? (product + half) / dpi : (product - half) / dpi);
}

// Which drawing of the own buttons' pictures a DPI shows, in percent of the 96-DPI size: the largest of the
// drawn sizes (100, 150, 200) that fits the scaled room. Pictures are never stretched, so none is ever
// blurred or cut; between the drawn sizes a picture is a little smaller than its room.
constexpr int pictureScalePercent(int dpi) {
    return dpi < 144 ? 100 : (dpi < 192 ? 150 : 200);
}

} // namespace core
