#include <gtest/gtest.h>

#include "core/theme_colours.h"

namespace {

using core::Part;
using core::Theme;

// Every system colour distinct, so that a part taking the wrong one shows.
core::SystemColours systemColours() {
    core::SystemColours sys;
    core::Colour next = 0x010101;
    for (core::Colour* c :
         {&sys.buttonFace, &sys.buttonText, &sys.highlight, &sys.highlightText, &sys.buttonLight,
          &sys.buttonShadow, &sys.infoFace, &sys.infoText, &sys.window, &sys.windowText})
        *c = next++;
    return sys;
}

constexpr core::Colour kFace = 0xC0C0C0;

TEST(ThemeColours, EachThemeDrawsItsOwnColoursAndKeepsTheUsersChoices) {
    const core::SystemColours sys = systemColours();
    core::Settings chosen;
    chosen.barBackgroundColor = 0x123456;
    chosen.attentionButtonColor = 0x00FF00;
    core::Settings defaults;
    defaults.barBackgroundColor = static_cast<int32_t>(kFace);
    struct Row {
        const char* what;
        const core::Settings& settings;
        Theme theme;
        Part part;
        core::Colour expected;
    };
    const Row rows[] = {
        {"light: the settings", defaults, Theme::Light, Part::BarFace, kFace},
        {"light: the attention default", defaults, Theme::Light, Part::AttentionFace, 0x0080FF},
        {"light: the tip text of today", defaults, Theme::Light, Part::TipText, sys.infoText},
        {"light: a chosen colour", chosen, Theme::Light, Part::BarFace, 0x123456},
        {"dark: a default background", defaults, Theme::Dark, Part::BarFace, core::darkColour(Part::BarFace)},
        {"dark: a chosen colour stays", chosen, Theme::Dark, Part::AttentionFace, 0x00FF00},
        {"dark: calling text is the buttons' text", chosen, Theme::Dark, Part::AttentionText,
         core::darkColour(Part::ButtonText)},
        {"high contrast: the face", chosen, Theme::HighContrast, Part::BarFace, sys.buttonFace},
        {"high contrast: active", defaults, Theme::HighContrast, Part::ActiveFace, sys.highlight},
        {"high contrast: a call inverts", chosen, Theme::HighContrast, Part::AttentionFace, sys.buttonText},
        {"high contrast: a call's text", chosen, Theme::HighContrast, Part::AttentionText, sys.buttonFace},
        {"high contrast: the quick help", defaults, Theme::HighContrast, Part::HelpFace, sys.window},
    };
    for (const Row& row : rows)
        EXPECT_EQ(core::partColours(row.settings, kFace, row.theme, sys)[row.part], row.expected) << row.what;
    EXPECT_EQ(core::themeOf(false, false), Theme::Dark);
    EXPECT_EQ(core::themeOf(true, true), Theme::HighContrast);
}

TEST(ThemeColours, EveryTextOfTheDarkPaletteReadsAgainstItsFace) {
    EXPECT_DOUBLE_EQ(core::contrastRatio(0x000000, 0xFFFFFF), 21.0);
    EXPECT_DOUBLE_EQ(core::contrastRatio(0x777777, 0x777777), 1.0);
    // The ratio the guidelines publish for this pair of greys.
    EXPECT_NEAR(core::contrastRatio(0x767676, 0xFFFFFF), 4.54, 0.01);
    const std::pair<Part, Part> pairs[] = {{Part::BarFace, Part::ButtonText},
                                           {Part::ActiveFace, Part::ActiveText},
                                           {Part::AttentionFace, Part::AttentionText},
                                           {Part::TipFace, Part::TipText},
                                           {Part::HelpFace, Part::HelpText}};
    for (const auto& [face, text] : pairs)
        EXPECT_GE(core::contrastRatio(core::darkColour(face), core::darkColour(text)), 4.5)
            << static_cast<int>(face);
    // The light defaults hold to the same rule (the background is the system's, not ours).
    EXPECT_GE(core::contrastRatio(static_cast<core::Colour>(core::kAttentionButtonDefault), 0), 4.5);
    EXPECT_GE(core::contrastRatio(core::kQuickHelpFace, core::kQuickHelpText), 4.5);
}

} // namespace
