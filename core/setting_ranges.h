// What each stored number may be. The registry can hold anything another program or a hand put there: at
// load, a number outside its meaningful range reads as its default (the bar height, whose lower bound the
// preferences give, is clamped instead), so that no stored value can make the bar reserve the whole screen or
// an inverted strip, or place browser windows far off the screen.
#pragma once
#include <algorithm>
#include <cstdint>

#include "core/preference_rules.h"
#include "core/settings.h"

namespace core {

// The ranges of the numbers whose range does not depend on the screen.
constexpr int32_t kMinBarHeight = 24;
constexpr int32_t kMaxFontHeight = 256;
constexpr int32_t kMaxFontWeight = 1000;
constexpr uint32_t kMaxHotKeyModifiers = 0x7;
constexpr uint32_t kMaxHotKeyKey = 0xFF;

// How tall the docked strip may be on a monitor monitorHeight pixels high: at most a quarter of it, and
// never less than one pixel, so that the strip can neither take the screen nor turn inside out.
constexpr int32_t saneStripHeight(int32_t requested, int32_t monitorHeight) {
    return std::clamp(requested, int32_t{1}, std::max(int32_t{1}, monitorHeight / 4));
}

// Puts every number of s in its range; screen is the size of the screen the settings are judged against,
// buttonFaceColour the default background as loading took it. Defaults that do not fit a tiny screen are
// narrowed to it.
void keepInRange(Settings& s, ScreenSize screen, int32_t buttonFaceColour);

// Whether every numeric field of the stored table has a range here (a new setting must be given one).
bool everyNumberHasARange();

} // namespace core
