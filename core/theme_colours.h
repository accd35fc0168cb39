// Which colour is drawn for each part of the bar, by the Windows theme: the user's settings in the light
// theme, a dark palette for every setting still at its default in the dark theme, and the system's own
// colours in a high-contrast theme, which a user who needs it has chosen over any colour of ours.
#pragma once
#include <array>
#include <cstddef>

#include "core/colour_palette.h"
#include "core/settings.h"

namespace core {

enum class Theme { Light, Dark, HighContrast };

// The app theme switch (AppsUseLightTheme) and the high-contrast flag, as the system reports them.
constexpr Theme themeOf(bool appsUseLightTheme, bool highContrast) {
    if (highContrast) return Theme::HighContrast;
    return appsUseLightTheme ? Theme::Light : Theme::Dark;
}

// The parts of the bar that have a colour of their own, faces before the texts drawn on them.
enum class Part {
    BarFace,
    ButtonText,
    ActiveFace,
    ActiveText,
    AttentionFace,
    AttentionText,
    EdgeLight, // the raised frame's top and left, a sunken one's bottom and right
    EdgeShadow,
    TipFace,
    TipText,
    HelpFace, // the preferences' quick help
    HelpText,
};
constexpr std::size_t kPartCount = 12;

// The system colours the bar takes its own from, read when the theme is looked at.
struct SystemColours {
    Colour buttonFace = 0;    // COLOR_BTNFACE
    Colour buttonText = 0;    // COLOR_BTNTEXT
    Colour highlight = 0;     // COLOR_HIGHLIGHT
    Colour highlightText = 0; // COLOR_HIGHLIGHTTEXT
    Colour buttonLight = 0;   // COLOR_BTNHIGHLIGHT
    Colour buttonShadow = 0;  // COLOR_BTNSHADOW
    Colour infoFace = 0;      // COLOR_INFOBK
    Colour infoText = 0;      // COLOR_INFOTEXT
    Colour window = 0;        // COLOR_WINDOW
    Colour windowText = 0;    // COLOR_WINDOWTEXT
};

// The quick help's colours in the light theme.
constexpr Colour kQuickHelpFace = rgb(248, 227, 185);
constexpr Colour kQuickHelpText = rgb(71, 35, 35);

// One colour setting: what it holds and what it holds until the user picks another.
constexpr Colour drawnColour(Colour value, Colour defaultValue, Colour dark, Colour system, Theme theme) {
    if (theme == Theme::HighContrast) return system;
    return theme == Theme::Dark && value == defaultValue ? dark : value;
}

struct PartColours {
    std::array<Colour, kPartCount> colours{};
    Colour operator[](Part part) const { return colours[static_cast<std::size_t>(part)]; }
};

// Every part's colour. buttonFaceDefault is the background's default as loading took it.
PartColours partColours(const Settings& s, Colour buttonFaceDefault, Theme theme, const SystemColours& sys);

// The dark palette, by part.
Colour darkColour(Part part);

// The contrast ratio of two colours by the WCAG 2 formula: 1 (the same) to 21 (black and white).
double contrastRatio(Colour a, Colour b);

} // namespace core
