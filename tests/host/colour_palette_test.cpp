#include "core/colour_palette.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using core::CUSTOM_ENTRY;
using core::DEFAULT_ENTRY;
using core::NO_ENTRY;
using core::PopupKey;

constexpr int D = DEFAULT_ENTRY;
constexpr int C = CUSTOM_ENTRY;
constexpr int N = NO_ENTRY;

TEST(ColourPalette, FortyDistinctNamedColoursInGridOrder) {
    std::set<core::Colour> colours;
    std::set<std::string> names;
    for (const auto& c : core::paletteColours) {
        colours.insert(c.colour);
        names.insert(c.name);
        EXPECT_EQ(c.colour >> 24, 0u) << c.name; // 0x00BBGGRR: the top byte is free
    }
    EXPECT_EQ(colours.size(), 40u);
    EXPECT_EQ(names.size(), 40u);
    EXPECT_EQ(core::kRows, 5);
    EXPECT_STREQ(core::paletteColours[0].name, "Black");
    EXPECT_EQ(core::paletteColours[1].colour, 0x00002AA5u); // Brown as the system stores it: BBGGRR
    EXPECT_STREQ(core::paletteColours[31].name, "Light grey");
    EXPECT_EQ(core::paletteColours[31].colour, core::rgb(192, 192, 192));
    EXPECT_STREQ(core::paletteColours[35].name, "Pale green "); // the stored text keeps its trailing space
    EXPECT_STREQ(core::paletteColours[39].name, "White");
    EXPECT_EQ(core::paletteColours[39].colour, 0x00FFFFFFu);
}

TEST(ColourPalette, IndexRulesFollowTheEntriesThePopupHas) {
    core::ColourGrid both(true, true), none(false, false);
    EXPECT_EQ(both.indexOf(0, 0), 0);
    EXPECT_EQ(both.indexOf(4, 7), 39);
    EXPECT_EQ(both.indexOf(2, 3), 19);
    EXPECT_EQ(both.indexOf(5, 0), N);
    EXPECT_EQ(both.indexOf(0, 8), N);
    EXPECT_EQ(both.indexOf(-1, 0), N);
    EXPECT_EQ(both.indexOf(C, 3), C);
    EXPECT_EQ(both.indexOf(3, D), D);
    EXPECT_EQ(both.indexOf(C, D), C); // "Other colors" wins when both are named
    EXPECT_EQ(none.indexOf(C, C), N);
    EXPECT_EQ(none.indexOf(D, D), N);

    EXPECT_EQ(both.rowOf(19), 2);
    EXPECT_EQ(both.columnOf(19), 3);
    EXPECT_EQ(both.rowOf(C), C);
    EXPECT_EQ(both.columnOf(D), D);
    EXPECT_EQ(none.rowOf(C), N);
    EXPECT_EQ(none.columnOf(D), N);
    EXPECT_EQ(both.rowOf(40), N);
    EXPECT_EQ(both.columnOf(N), N);
}

TEST(ColourPalette, OpeningColourMarksItsCellTheDefaultOrOtherColors) {
    core::ColourGrid both(true, true), cellsOnly(false, false), customOnly(false, true);
    EXPECT_EQ(both.entryFor(core::rgb(192, 192, 192)), 31);
    EXPECT_EQ(both.entryFor(0), 0);
    EXPECT_EQ(both.entryFor(core::rgb(192, 192, 193)), C);
    EXPECT_EQ(both.entryFor(core::COLOUR_DEFAULT), D);
    EXPECT_EQ(customOnly.entryFor(core::COLOUR_DEFAULT), C);
    EXPECT_EQ(cellsOnly.entryFor(core::rgb(1, 2, 3)), N);
    EXPECT_EQ(cellsOnly.entryFor(core::COLOUR_DEFAULT), N);
}

struct Move {
    bool hasDefault, hasCustom;
    int from;
    PopupKey key;
    int to;
};

std::string describe(const Move& m) {
    static const char* keys[] = {"Up", "Down", "Left", "Right", "Accept", "Cancel", "Other"};
    return std::string(m.hasDefault ? "default " : "") + (m.hasCustom ? "custom " : "") + "from " +
           std::to_string(m.from) + " " + keys[static_cast<int>(m.key)];
}

constexpr PopupKey U = PopupKey::Up, Dn = PopupKey::Down, L = PopupKey::Left, R = PopupKey::Right;

const Move kTable[] = {
    // Both text entries.
    {true, true, D, Dn, 0},
    {true, true, D, U, C},
    {true, true, D, R, 0},
    {true, true, D, L, C},
    {true, true, C, Dn, D},
    {true, true, C, U, 39},
    {true, true, C, R, D},
    {true, true, C, L, 39},
    {true, true, N, Dn, C},
    {true, true, N, U, D},
    {true, true, N, R, C},
    {true, true, N, L, D},
    {true, true, 0, Dn, 8},
    {true, true, 0, U, D},
    {true, true, 0, R, 1},
    {true, true, 0, L, D},
    {true, true, 7, Dn, 15},
    {true, true, 7, U, D},
    {true, true, 7, R, 8},
    {true, true, 7, L, 6},
    {true, true, 8, U, 0},
    {true, true, 8, L, 7},
    {true, true, 19, Dn, 27},
    {true, true, 19, U, 11},
    {true, true, 39, Dn, C},
    {true, true, 39, U, 31},
    {true, true, 39, R, C},
    {true, true, 39, L, 38},
    {true, true, 32, Dn, C},
    {true, true, 32, L, 31},
    {true, true, 31, R, 32},
    // Only "Other colors".
    {false, true, C, Dn, 0},
    {false, true, C, R, 0},
    {false, true, C, U, 39},
    {false, true, C, L, 39},
    {false, true, N, Dn, C},
    {false, true, N, U, C},
    {false, true, N, R, C},
    {false, true, N, L, C},
    {false, true, 0, U, C},
    {false, true, 0, L, C},
    {false, true, 39, R, C},
    {false, true, 36, Dn, C},
    {false, true, D, Dn, C}, // an entry the popup lacks counts as nothing
    // Only "Default".
    {true, false, D, Dn, 0},
    {true, false, D, R, 0},
    {true, false, D, U, 39},
    {true, false, D, L, 39},
    {true, false, N, Dn, D},
    {true, false, N, U, D},
    {true, false, N, R, D},
    {true, false, N, L, D},
    {true, false, 39, Dn, D},
    {true, false, 39, R, D},
    {true, false, 0, U, D},
    {true, false, 0, L, D},
    {true, false, C, U, D},
    // Neither: the grid wraps onto itself.
    {false, false, N, Dn, 0},
    {false, false, N, R, 0},
    {false, false, N, U, 39},
    {false, false, N, L, 39},
    {false, false, 39, R, 0},
    {false, false, 36, Dn, 0},
    {false, false, 0, U, 39},
    {false, false, 0, L, 39},
    {false, false, 5, U, 39},
    {false, false, 16, L, 15},
};

TEST(ColourPalette, ArrowKeysWalkTheWholeTable) {
    for (const Move& m : kTable) {
        core::ColourGrid grid(m.hasDefault, m.hasCustom);
        EXPECT_EQ(grid.move(m.from, m.key), m.to) << describe(m);
    }
}

TEST(ColourPalette, EveryArrowFromEveryEntryLandsOnAnEntryThePopupHas) {
    for (int flags = 0; flags < 4; ++flags) {
        core::ColourGrid grid(flags & 1, flags & 2);
        for (int from = D; from < core::kColourCount; ++from) {
            for (PopupKey key : {U, Dn, L, R}) {
                int to = grid.move(from, key);
                EXPECT_TRUE(grid.exists(to)) << flags << " " << from;
                EXPECT_NE(to, from) << flags << " " << from;
            }
        }
    }
}

TEST(ColourPalette, RightWalksEveryEntryInOrderAndLeftWalksBack) {
    core::ColourGrid grid(true, true);
    int at = D;
    for (int i = 0; i < core::kColourCount; ++i) {
        at = grid.move(at, R);
        EXPECT_EQ(at, i);
    }
    EXPECT_EQ(grid.move(at, R), C);
    for (int i = core::kColourCount - 1; i > 0; --i)
        EXPECT_EQ(grid.move(i, L), i - 1);
}

TEST(ColourPalette, ReturnSpaceAndEscapeEndThePopupWithoutMoving) {
    EXPECT_EQ(core::popupKeyFor(0x0D), PopupKey::Accept);
    EXPECT_EQ(core::popupKeyFor(0x20), PopupKey::Accept);
    EXPECT_EQ(core::popupKeyFor(0x1B), PopupKey::Cancel);
    EXPECT_EQ(core::popupKeyFor(0x26), U);
    EXPECT_EQ(core::popupKeyFor(0x28), Dn);
    EXPECT_EQ(core::popupKeyFor(0x25), L);
    EXPECT_EQ(core::popupKeyFor(0x27), R);
    EXPECT_EQ(core::popupKeyFor('A'), PopupKey::Other);
    EXPECT_EQ(core::popupKeyFor(0x09), PopupKey::Other);
    core::ColourGrid grid(true, true);
    for (PopupKey key : {PopupKey::Accept, PopupKey::Cancel, PopupKey::Other}) {
        EXPECT_EQ(grid.move(12, key), 12);
        EXPECT_EQ(grid.move(N, key), N);
    }
}

TEST(ColourPalette, HighlightingReportsAndTakesTheEntrysColour) {
    const core::Colour opening = core::rgb(1, 2, 3);
    auto cell = core::highlightOf(31, opening);
    EXPECT_EQ(cell.reported, core::rgb(192, 192, 192));
    EXPECT_TRUE(cell.takesColour);
    auto def = core::highlightOf(D, opening);
    EXPECT_EQ(def.reported, core::COLOUR_DEFAULT);
    EXPECT_TRUE(def.takesColour);
    auto custom = core::highlightOf(C, opening);
    EXPECT_EQ(custom.reported, opening); // previews the opening colour until the dialog chooses one
    EXPECT_FALSE(custom.takesColour);
    EXPECT_EQ(core::resolveColour(core::COLOUR_DEFAULT, 0x123456), 0x123456u);
    EXPECT_EQ(core::resolveColour(0, 0x123456), 0u);
}

} // namespace
