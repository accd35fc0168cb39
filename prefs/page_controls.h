// Which control of a page edits which setting, and what happens besides the write.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/preference_rules.h"
#include "core/program_name.h"
#include "core/settings.h"

namespace prefs {

// Caption of the program's message boxes.
constexpr const char* kProgramTitle = core::kProgramName;

enum class CheckEffect {
    None,
    DockEdge,    // after the write: the bar moves to the chosen edge at once
    CloseGlyph,  // before the write: "on active IE button only" follows, and the bar repaints
    Repaint,     // before the write: the bar repaints
    BarGeometry, // after the write: the bar is positioned again when the dialog closes
    WindowIcons, // after the write: the windows' icons are read or let go, and the bar repaints
    Bars,        // after the write: the bars are made again for the monitors
    Desktops,    // after the write: the bar follows the virtual desktops or stops, and repaints
};

struct CheckBoxControl {
    int id;
    // The on/off setting; null for the dock edge, an edge code.
    bool core::Settings::*flag;
    const char* valueName;
    core::CheckKind kind;
    CheckEffect effect;
};

struct NumberEditControl {
    int id;
    core::NumberEdit edit;
};

struct ColourControl {
    int id;
    core::ColourSetting setting;
};

constexpr size_t kCheckBoxCount = 17;
constexpr size_t kColourControlCount = 5;

const CheckBoxControl (&checkBoxControls())[kCheckBoxCount];
const CheckBoxControl* findCheckBox(int id);
const NumberEditControl (&numberEditControls())[5];
const NumberEditControl* findNumberEdit(int id);
const ColourControl (&colourControls())[kColourControlCount];
const ColourControl* findColourControl(int id);

} // namespace prefs
