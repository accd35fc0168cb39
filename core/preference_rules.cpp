#include "core/preference_rules.h"

#include <limits>

namespace core {

namespace {
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

const NumberEditRule kNumberRules[] = {
    {&Settings::barHeight, valueName(&Settings::barHeight), CloseAction::PositionBar},
    {&Settings::alignLeft, valueName(&Settings::alignLeft), CloseAction::PlaceBrowsers},
    {&Settings::alignTop, valueName(&Settings::alignTop), CloseAction::PlaceBrowsers},
    {&Settings::alignWidth, valueName(&Settings::alignWidth), CloseAction::PlaceBrowsers},
    {&Settings::alignHeight, valueName(&Settings::alignHeight), CloseAction::PlaceBrowsers},
};

const ColourRule kColourRules[] = {
    {&Settings::barBackgroundColor, valueName(&Settings::barBackgroundColor)},
    {&Settings::buttonTextColor, valueName(&Settings::buttonTextColor)},
    {&Settings::activeButtonColor, valueName(&Settings::activeButtonColor)},
    {&Settings::activeButtonTextColor, valueName(&Settings::activeButtonTextColor)},
    {&Settings::attentionButtonColor, valueName(&Settings::attentionButtonColor)},
};

// A size must be positive and, from its stored start, end on the screen. The sum is taken in 64 bits
// so that a large start and size cannot wrap around into an accepted value.
bool fitsFrom(int32_t start, int32_t size, int32_t limit) {
    return size > 0 && static_cast<int64_t>(start) + size <= limit;
}
} // namespace

std::optional<int32_t> parseNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t magnitude = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

const NumberEditRule& numberEditRule(NumberEdit edit) {
    return kNumberRules[static_cast<int>(edit)];
}

bool acceptNumber(NumberEdit edit, int32_t value, const Settings& s, ScreenSize screen) {
    switch (edit) {
    case NumberEdit::BarHeight:
        return value >= 24;
    case NumberEdit::AlignLeft:
        return value <= screen.width;
    case NumberEdit::AlignTop:
        return value <= screen.height;
    case NumberEdit::AlignWidth:
        return fitsFrom(s.alignLeft, value, screen.width);
    case NumberEdit::AlignHeight:
        return fitsFrom(s.alignTop, value, screen.height);
    }
    return false;
}

Placement placementOf(const Settings& s) {
    if (s.maximizeBrowsers) return Placement::Maximize;
    if (s.alignBrowsers) return Placement::Align;
    return Placement::DontChange;
}

std::array<DwordWrite, 2> choosePlacement(Settings& s, Placement choice) {
    s.maximizeBrowsers = choice == Placement::Maximize;
    s.alignBrowsers = choice == Placement::Align;
    if (choice == Placement::Maximize)
        return {{{valueName(&Settings::maximizeBrowsers), 1}, {valueName(&Settings::alignBrowsers), 0}}};
    return {{{valueName(&Settings::alignBrowsers), s.alignBrowsers ? 1 : 0},
             {valueName(&Settings::maximizeBrowsers), 0}}};
}

bool positionEditsEnabled(const Settings& s) {
    return s.alignBrowsers;
}
bool activeOnlyEnabled(const Settings& s) {
    return s.showCloseGlyph;
}

int32_t checkBoxValue(CheckKind kind, bool checked) {
    if (kind == CheckKind::DockEdge) return checked ? kEdgeTop : kEdgeBottom;
    return checked ? 1 : 0;
}

bool checkBoxState(CheckKind kind, int32_t value) {
    if (kind == CheckKind::DockEdge) return value == kEdgeTop;
    return value != 0;
}

uint32_t hotKeyFromControl(uint16_t controlValue) {
    const uint8_t key = controlValue & 0xFF;
    const uint8_t flags = static_cast<uint8_t>(controlValue >> 8);
    return makeHotKeyValue(swapHotKeyModifiers(flags), key);
}

uint16_t hotKeyToControl(uint32_t stored) {
    const uint8_t key = stored & 0xFF;
    const uint8_t flags = swapHotKeyModifiers(static_cast<uint8_t>(hotKeyModifiers(stored) & 0xFF));
    return static_cast<uint16_t>((flags << 8) | key);
}

const ColourRule& colourRule(ColourSetting which) {
    return kColourRules[static_cast<int>(which)];
}

int32_t storedColour(ColourSetting which, uint32_t picked, uint32_t buttonFace) {
    if (picked != kColourDefault) return static_cast<int32_t>(picked);
    switch (which) {
    case ColourSetting::BarBackground:
        return static_cast<int32_t>(buttonFace);
    case ColourSetting::ActiveButton:
        return kActiveButtonDefault;
    case ColourSetting::AttentionButton:
        return kAttentionButtonDefault;
    case ColourSetting::ButtonText:
    case ColourSetting::ActiveButtonText:
        break;
    }
    return 0;
}

} // namespace core
