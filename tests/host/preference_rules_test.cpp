#include "core/preference_rules.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

namespace {

using core::NumberEdit;
using core::parseNumber;

TEST(ParseNumber, ReadsLikeTheCRuntimeWithinTheRange) {
    EXPECT_EQ(parseNumber("24"), 24);
    EXPECT_EQ(parseNumber("  \t\n 31"), 31);
    EXPECT_EQ(parseNumber("+7"), 7);
    EXPECT_EQ(parseNumber("-12"), -12);
    EXPECT_EQ(parseNumber("25px"), 25);
    EXPECT_EQ(parseNumber("0042"), 42);
    EXPECT_EQ(parseNumber("2147483647"), 2147483647);
    EXPECT_EQ(parseNumber("-2147483648"), INT32_MIN);
}

TEST(ParseNumber, TextWithoutDigitsIsZero) {
    for (const char* text : {"", "   ", "-", "abc", "- 5", "x12"})
        EXPECT_EQ(parseNumber(text), 0) << text;
}

TEST(ParseNumber, DigitsBeyondThirtyTwoBitsGiveNoValue) {
    // 2^32 + 24 would wrap to an accepted bar height; 4294967291 is shown for a stored negative value.
    for (const char* text :
         {"2147483648", "-2147483649", "4294967320", "99999999999999999999999999", "4294967291"})
        EXPECT_EQ(parseNumber(text), std::nullopt) << text;
}

class AcceptNumber : public ::testing::Test {
  protected:
    core::Settings s;
    core::ScreenSize screen{1024, 768};
    bool accept(NumberEdit e, int32_t v) const { return core::acceptNumber(e, v, s, screen); }
};

TEST_F(AcceptNumber, BarHeightNeedsTwentyFour) {
    for (int32_t height : {23, 0, -30, 24, 400})
        EXPECT_EQ(accept(NumberEdit::BarHeight, height), height >= 24) << height;
}

TEST_F(AcceptNumber, EdgesMayReachButNotPassTheScreen) {
    EXPECT_TRUE(accept(NumberEdit::AlignLeft, 1024));
    EXPECT_FALSE(accept(NumberEdit::AlignLeft, 1025));
    EXPECT_TRUE(accept(NumberEdit::AlignLeft, 0));
    EXPECT_TRUE(accept(NumberEdit::AlignTop, 768));
    EXPECT_FALSE(accept(NumberEdit::AlignTop, 769));
}

TEST_F(AcceptNumber, SizesAreJudgedFromTheStoredEdge) {
    EXPECT_FALSE(accept(NumberEdit::AlignWidth, 0));
    s.alignLeft = 400;
    EXPECT_TRUE(accept(NumberEdit::AlignWidth, 624));
    EXPECT_FALSE(accept(NumberEdit::AlignWidth, 700));
    s.alignLeft = 300;
    EXPECT_TRUE(accept(NumberEdit::AlignWidth, 700));

    EXPECT_FALSE(accept(NumberEdit::AlignHeight, 0));
    s.alignTop = 300;
    EXPECT_FALSE(accept(NumberEdit::AlignHeight, 500));
    EXPECT_TRUE(accept(NumberEdit::AlignHeight, 468));
}

TEST_F(AcceptNumber, SizesNeitherWrapNorGoNegative) {
    s.alignLeft = 1000;
    EXPECT_FALSE(accept(NumberEdit::AlignWidth, INT32_MAX));
    s.alignTop = 700;
    EXPECT_FALSE(accept(NumberEdit::AlignHeight, INT32_MAX - 100));
    s.alignLeft = 0;
    EXPECT_FALSE(accept(NumberEdit::AlignWidth, -5));
    EXPECT_FALSE(accept(NumberEdit::AlignHeight, -1));
}

TEST(NumberEditRules, NameTheStoredValueAndWhatClosingDoes) {
    EXPECT_STREQ(core::numberEditRule(NumberEdit::BarHeight).valueName, "Bar height");
    EXPECT_EQ(core::numberEditRule(NumberEdit::BarHeight).onAccept, core::CloseAction::PositionBar);
    EXPECT_EQ(core::numberEditRule(NumberEdit::BarHeight).field, &core::Settings::barHeight);
    const std::pair<NumberEdit, const char*> rest[] = {{NumberEdit::AlignLeft, "Left"},
                                                       {NumberEdit::AlignTop, "Top"},
                                                       {NumberEdit::AlignWidth, "Width"},
                                                       {NumberEdit::AlignHeight, "Height"}};
    for (const auto& [edit, name] : rest) {
        EXPECT_STREQ(core::numberEditRule(edit).valueName, name);
        EXPECT_EQ(core::numberEditRule(edit).onAccept, core::CloseAction::PlaceBrowsers);
    }
    EXPECT_EQ(core::numberEditRule(NumberEdit::AlignHeight).field, &core::Settings::alignHeight);
}

// The flags after the choice, then the two writes: name and value of each, in order.
void expectPlacement(core::Settings& s, core::Placement choice, int maximize, int align, const char* first,
                     int firstValue, const char* second, int secondValue) {
    const auto w = core::choosePlacement(s, choice);
    EXPECT_EQ(s.maximizeBrowsers, maximize);
    EXPECT_EQ(s.alignBrowsers, align);
    EXPECT_STREQ(w[0].valueName, first);
    EXPECT_EQ(w[0].value, firstValue);
    EXPECT_STREQ(w[1].valueName, second);
    EXPECT_EQ(w[1].value, secondValue);
}

TEST(Placement, EachChoiceSetsBothFlagsAndWritesInItsOrder) {
    const char *maximize = "Maximize browser windows", *align = "Align browser windows";
    core::Settings s;
    expectPlacement(s, core::Placement::Maximize, 1, 0, maximize, 1, align, 0);
    EXPECT_FALSE(core::positionEditsEnabled(s));
    expectPlacement(s, core::Placement::Align, 0, 1, align, 1, maximize, 0);
    EXPECT_TRUE(core::positionEditsEnabled(s));
    EXPECT_EQ(core::placementOf(s), core::Placement::Align);
    expectPlacement(s, core::Placement::DontChange, 0, 0, align, 0, maximize, 0);
    EXPECT_EQ(core::placementOf(s), core::Placement::DontChange);
}

TEST(Placement, BothFlagsStoredShowsMaximize) {
    core::Settings s;
    s.maximizeBrowsers = 1;
    s.alignBrowsers = 1;
    EXPECT_EQ(core::placementOf(s), core::Placement::Maximize);
    EXPECT_TRUE(core::positionEditsEnabled(s));
}

TEST(CheckBoxes, DockEdgeIsAnEdgeCodeAndFlagsAreAnyNonZero) {
    EXPECT_EQ(core::checkBoxValue(core::CheckKind::DockEdge, true), 1);
    EXPECT_EQ(core::checkBoxValue(core::CheckKind::DockEdge, false), 3);
    for (int32_t stored : {1, 3, 0})
        EXPECT_EQ(core::checkBoxState(core::CheckKind::DockEdge, stored), stored == 1) << stored;
    EXPECT_EQ(core::checkBoxValue(core::CheckKind::Flag, true), 1);
    EXPECT_TRUE(core::checkBoxState(core::CheckKind::Flag, 5));
    EXPECT_FALSE(core::checkBoxState(core::CheckKind::Flag, 0));
    core::Settings s;
    s.showCloseGlyph = 0;
    EXPECT_FALSE(core::activeOnlyEnabled(s));
}

TEST(HotKeys, ControlValueAndStoredValueMapBothWays) {
    // Ctrl+Alt (HOTKEYF 0x02|0x04) with numeric-keypad minus is the stored default 0x0003006D.
    EXPECT_EQ(core::hotKeyFromControl(0x066D), 0x0003006Du);
    EXPECT_EQ(core::hotKeyToControl(0x0003006D), 0x066D);
    // Shift (HOTKEYF 0x01) is MOD_SHIFT 0x04; the extended-key flag is not stored.
    EXPECT_EQ(core::hotKeyFromControl(0x0141), 0x00040041u);
    EXPECT_EQ(core::hotKeyFromControl(0x0941), 0x00040041u);
    EXPECT_EQ(core::hotKeyToControl(0x00040041), 0x0141);
    EXPECT_EQ(core::hotKeyFromControl(0), 0u);
    EXPECT_EQ(core::hotKeyToControl(0), 0);
    for (uint32_t stored : {0x0003006Du, 0x0003006Bu, 0x00070070u, 0x00010020u})
        EXPECT_EQ(core::hotKeyFromControl(core::hotKeyToControl(stored)), stored);
}

TEST(Colours, DefaultBecomesEachSettingsOwnDefault) {
    using core::ColourSetting;
    EXPECT_EQ(core::storedColour(ColourSetting::ActiveButton, core::kColourDefault, 0xC0C0C0), 0xB9E3F8);
    EXPECT_EQ(core::storedColour(ColourSetting::BarBackground, core::kColourDefault, 0xC0C0C0), 0xC0C0C0);
    EXPECT_EQ(core::storedColour(ColourSetting::ButtonText, core::kColourDefault, 0xC0C0C0), 0);
    EXPECT_EQ(core::storedColour(ColourSetting::ActiveButtonText, core::kColourDefault, 0xC0C0C0), 0);
    EXPECT_EQ(core::storedColour(ColourSetting::AttentionButton, core::kColourDefault, 0xC0C0C0), 0x0080FF);
    EXPECT_EQ(core::storedColour(ColourSetting::ButtonText, 0x123456, 0xC0C0C0), 0x123456);
    EXPECT_STREQ(core::colourRule(ColourSetting::ActiveButton).valueName, "Active button color");
    EXPECT_STREQ(core::colourRule(ColourSetting::BarBackground).valueName, "Bar background color");
    EXPECT_STREQ(core::colourRule(ColourSetting::ButtonText).valueName, "Buttons text color");
    EXPECT_STREQ(core::colourRule(ColourSetting::ActiveButtonText).valueName, "Active button text color");
    EXPECT_STREQ(core::colourRule(ColourSetting::AttentionButton).valueName, "Attention button color");
}

} // namespace

// Random numbers in random dress: every 32-bit value comes back, whatever blanks lead and whatever follows
// the digits; one more digit than the range allows gives no value at all.
TEST(ParseNumberRandom, EveryValueSurvivesItsDressAndOverflowIsRefused) {
    std::mt19937 random(20261208);
    const char* blanks[] = {"", " ", "\t", "  \r\n"};
    const char* tails[] = {"", "x", " 12", ".5", "-3", "\xff"};
    for (int round = 0; round < 20000; ++round) {
        const auto value = static_cast<int32_t>(random());
        const std::string lead = blanks[random() % std::size(blanks)];
        const std::string tail = tails[random() % std::size(tails)];
        std::string digits = std::to_string(value);
        if (value >= 0 && random() % 2) digits = "+" + digits;
        EXPECT_EQ(core::parseNumber(lead + digits + tail), value) << lead + digits + tail;
        // One more digit takes any value of ten digits beyond the range.
        if (value > 214748364 || value < -214748364) {
            EXPECT_FALSE(core::parseNumber(lead + digits + "7" + tail));
        }
    }
}
