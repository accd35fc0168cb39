#include "core/setting_ranges.h"

namespace core {

namespace {
enum class Range {
    Any,    // values of which only the low byte is used (on/off settings are read as bool, not here)
    Edge,   // an appbar edge code: top or bottom
    BarsOn, // which monitors get a bar
    Colour, // a plain COLORREF, its high byte zero
    HotKey, // modifiers in the high word, a virtual key in the low word, or 0 for none
    BarHeight,
    FontHeight,
    FontWeight,
    Alignment, // judged together with the screen, below
};

struct RangeRule {
    int32_t Settings::*field;
    Range range;
};

constexpr RangeRule kRangeRules[] = {
    {&Settings::dockEdge, Range::Edge},
    {&Settings::barsOn, Range::BarsOn},
    {&Settings::alignLeft, Range::Alignment},
    {&Settings::alignTop, Range::Alignment},
    {&Settings::alignWidth, Range::Alignment},
    {&Settings::alignHeight, Range::Alignment},
    {&Settings::barHeight, Range::BarHeight},
    {&Settings::hotKeyHide, Range::HotKey},
    {&Settings::hotKeyNew, Range::HotKey},
    {&Settings::hotKeyFocus, Range::HotKey},
    {&Settings::barBackgroundColor, Range::Colour},
    {&Settings::buttonTextColor, Range::Colour},
    {&Settings::activeButtonColor, Range::Colour},
    {&Settings::activeButtonTextColor, Range::Colour},
    {&Settings::attentionButtonColor, Range::Colour},
    {&Settings::fontHeight, Range::FontHeight},
    {&Settings::fontWeight, Range::FontWeight},
    {&Settings::fontItalic, Range::Any},
    {&Settings::fontCharset, Range::Any},
};

bool inRange(Range range, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    switch (range) {
    case Range::Edge:
        return value == kEdgeTop || value == kEdgeBottom;
    case Range::BarsOn:
        return value >= kBarsOnPrimary && value <= kBarsOnChosen;
    case Range::Colour:
        return (bits & 0xFF000000u) == 0;
    case Range::HotKey:
        return hotKeyModifiers(bits) <= kMaxHotKeyModifiers && hotKeyVirtualKey(bits) <= kMaxHotKeyKey;
    case Range::FontHeight:
        return value >= -kMaxFontHeight && value <= kMaxFontHeight;
    case Range::FontWeight:
        return value >= 0 && value <= kMaxFontWeight;
    case Range::Any:
    case Range::BarHeight:
    case Range::Alignment:
        break;
    }
    return true;
}

// A start on the screen, else the default; a size that from there ends on the screen, else the default,
// else what is left of the screen.
void keepOnScreen(int32_t& start, int32_t& size, int32_t defaultStart, int32_t defaultSize, int32_t limit) {
    if (start < 0 || start > limit) start = defaultStart;
    auto fits = [&](int32_t s) { return s > 0 && static_cast<int64_t>(start) + s <= limit; };
    if (fits(size)) return;
    size = fits(defaultSize) ? defaultSize : std::max(int32_t{1}, limit - start);
}
} // namespace

void keepInRange(Settings& s, ScreenSize screen, int32_t buttonFaceColour) {
    Settings defaults;
    defaults.barBackgroundColor = buttonFaceColour;
    for (const RangeRule& rule : kRangeRules)
        if (!inRange(rule.range, s.*rule.field)) s.*rule.field = defaults.*rule.field;
    s.barHeight = std::clamp(s.barHeight, kMinBarHeight, std::max(kMinBarHeight, screen.height / 4));
    keepOnScreen(s.alignLeft, s.alignWidth, defaults.alignLeft, defaults.alignWidth, screen.width);
    keepOnScreen(s.alignTop, s.alignHeight, defaults.alignTop, defaults.alignHeight, screen.height);
}

bool everyNumberHasARange() {
    for (const SettingDef& def : kSettingTable) {
        if (!def.dword) continue;
        bool found = false;
        for (const RangeRule& rule : kRangeRules)
            found = found || rule.field == def.dword;
        if (!found) return false;
    }
    return true;
}

} // namespace core
