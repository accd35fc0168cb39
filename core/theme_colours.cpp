#include "core/theme_colours.h"

#include <cmath>

namespace core {

namespace {
// Faces far enough from their texts that every text stays readable (4.5:1 at least), and the active and the
// calling buttons far enough from the bar to be told apart at a glance.
constexpr std::array<Colour, kPartCount> kDark = {{
    rgb(32, 32, 32),    // BarFace
    rgb(240, 240, 240), // ButtonText
    rgb(92, 75, 20),    // ActiveFace: the light theme's pale yellow, darkened
    rgb(255, 255, 255), // ActiveText
    rgb(160, 64, 0),    // AttentionFace: the light theme's orange, darkened
    rgb(240, 240, 240), // AttentionText
    rgb(80, 80, 80),    // EdgeLight
    rgb(8, 8, 8),       // EdgeShadow
    rgb(43, 43, 43),    // TipFace
    rgb(240, 240, 240), // TipText
    rgb(56, 48, 36),    // HelpFace
    rgb(240, 228, 205), // HelpText
}};

double channel(unsigned value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(Colour c) {
    return 0.2126 * channel(c & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) +
           0.0722 * channel((c >> 16) & 0xFF);
}

Colour setting(const Settings& s, int32_t Settings::*field) {
    return static_cast<Colour>(s.*field);
}
} // namespace

Colour darkColour(Part part) {
    return kDark[static_cast<std::size_t>(part)];
}

PartColours partColours(const Settings& s, Colour buttonFaceDefault, Theme theme, const SystemColours& sys) {
    const Settings defaults;
    auto chosen = [&](Part part, int32_t Settings::*field, Colour defaultValue, Colour system) {
        return drawnColour(setting(s, field), defaultValue, darkColour(part), system, theme);
    };
    // The parts no setting holds are at their default whatever the user chose.
    auto fixed = [&](Part part, Colour light, Colour system) {
        return drawnColour(light, light, darkColour(part), system, theme);
    };
    PartColours out;
    auto put = [&](Part part, Colour c) { out.colours[static_cast<std::size_t>(part)] = c; };
    put(Part::BarFace,
        chosen(Part::BarFace, &Settings::barBackgroundColor, buttonFaceDefault, sys.buttonFace));
    put(Part::ButtonText, chosen(Part::ButtonText, &Settings::buttonTextColor,
                                 setting(defaults, &Settings::buttonTextColor), sys.buttonText));
    put(Part::ActiveFace, chosen(Part::ActiveFace, &Settings::activeButtonColor,
                                 setting(defaults, &Settings::activeButtonColor), sys.highlight));
    put(Part::ActiveText, chosen(Part::ActiveText, &Settings::activeButtonTextColor,
                                 setting(defaults, &Settings::activeButtonTextColor), sys.highlightText));
    // High contrast has no colour for a call: the button's face and text swap, which it keeps apart.
    put(Part::AttentionFace, chosen(Part::AttentionFace, &Settings::attentionButtonColor,
                                    setting(defaults, &Settings::attentionButtonColor), sys.buttonText));
    // A calling button's text is the buttons' text, whatever colour the user gave it.
    put(Part::AttentionText, theme == Theme::HighContrast ? sys.buttonFace : out[Part::ButtonText]);
    put(Part::EdgeLight, fixed(Part::EdgeLight, sys.buttonLight, sys.buttonLight));
    put(Part::EdgeShadow, fixed(Part::EdgeShadow, sys.buttonShadow, sys.buttonShadow));
    put(Part::TipFace, fixed(Part::TipFace, static_cast<Colour>(kActiveButtonDefault), sys.infoFace));
    put(Part::TipText, fixed(Part::TipText, sys.infoText, sys.infoText));
    put(Part::HelpFace, fixed(Part::HelpFace, kQuickHelpFace, sys.window));
    put(Part::HelpText, fixed(Part::HelpText, kQuickHelpText, sys.windowText));
    return out;
}

double contrastRatio(Colour a, Colour b) {
    const double la = luminance(a), lb = luminance(b);
    return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

} // namespace core
