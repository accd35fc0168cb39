// The rules behind the preferences pages: how an edit's text becomes a number, which numbers each edit
// accepts, what the placement radios and check boxes store, which controls are enabled, and how the
// hot-key control's value maps to the stored hot key.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/colour_palette.h"
#include "core/settings.h"

namespace core {

// Decimal text as the number edits hold it: leading white space, an optional sign, then digits up to
// the first other character; text without digits is 0. Digits beyond the 32-bit range give no value,
// so they can never be taken as some other number.
std::optional<int32_t> parseNumber(const std::string& text);

// What an accepted change asks of the dialog when it closes.
enum class CloseAction { None, PlaceBrowsers, PositionBar };

enum class NumberEdit { BarHeight, AlignLeft, AlignTop, AlignWidth, AlignHeight };

struct NumberEditRule {
    int32_t Settings::*field;
    const char* valueName;
    CloseAction onAccept;
};
const NumberEditRule& numberEditRule(NumberEdit edit);

struct ScreenSize {
    int32_t width;
    int32_t height;
};

// Whether a number typed into an edit may be stored. Width and height are judged against the left and
// top edges as they are stored now.
bool acceptNumber(NumberEdit edit, int32_t value, const Settings& settings, ScreenSize screen);

// One registry value to write.
struct DwordWrite {
    const char* valueName;
    int32_t value;
};

// The three-way browser placement choice of the "Browser windows" page.
enum class Placement { DontChange, Maximize, Align };
Placement placementOf(const Settings& settings);
// Sets both flags and returns the two writes in the order they are made.
std::array<DwordWrite, 2> choosePlacement(Settings& settings, Placement choice);

// The four position edits are usable only while browsers are aligned.
bool positionEditsEnabled(const Settings& settings);
// "on active IE button only" is usable only while close buttons are shown.
bool activeOnlyEnabled(const Settings& settings);

// The value a check box stores: its state, except the docking edge, which is an appbar edge code.
enum class CheckKind { Flag, DockEdge };
int32_t checkBoxValue(CheckKind kind, bool checked);
bool checkBoxState(CheckKind kind, int32_t value);

// Hot-key control value (virtual key in the low byte, HOTKEYF_* in the high byte) <-> stored hot key
// (MOD_* in the high word, virtual key in the low word).
uint32_t hotKeyFromControl(uint16_t controlValue);
uint16_t hotKeyToControl(uint32_t stored);

// The colour settings, and what the picker's "Default" entry means for each.
enum class ColourSetting { BarBackground, ButtonText, ActiveButton, ActiveButtonText, AttentionButton };
struct ColourRule {
    int32_t Settings::*field;
    const char* valueName;
};
const ColourRule& colourRule(ColourSetting which);
constexpr uint32_t kColourDefault = COLOUR_DEFAULT;
// buttonFace is the system's button face colour now, the default of the bar background.
int32_t storedColour(ColourSetting which, uint32_t picked, uint32_t buttonFace);

} // namespace core
