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
    // Row, column, index; "Other colors" wins when both text entries are named.
    const int indices[][3] = {{0, 0, 0},  {4, 7, 39}, {2, 3, 19}, {5, 0, N}, {0, 8, N},
                              {-1, 0, N}, {C, 3, C},  {3, D, D},  {C, D, C}};
    for (const auto& [row, column, index] : indices)
        EXPECT_EQ(both.indexOf(row, column), index) << row << " " << column;
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

struct Step {
    int from;
    PopupKey key;
    int to;
};

constexpr PopupKey U = PopupKey::Up, Dn = PopupKey::Down, L = PopupKey::Left, R = PopupKey::Right;

template <size_t n> void walk(bool hasDefault, bool hasCustom, const Step (&steps)[n]) {
    core::ColourGrid grid(hasDefault, hasCustom);
    for (const Step& s : steps)
        EXPECT_EQ(grid.move(s.from, s.key), s.to)
            << hasDefault << hasCustom << " from " << s.from << " key " << static_cast<int>(s.key);
}

TEST(ColourPalette, ArrowKeysWalkTheWholeTable) {
    // Both text entries.
    const Step both[] = {{D, Dn, 0},  {D, U, C},   {D, R, 0},  {D, L, C},   {C, Dn, D},   {C, U, 39},
                         {C, R, D},   {C, L, 39},  {N, Dn, C}, {N, U, D},   {N, R, C},    {N, L, D},
                         {0, Dn, 8},  {0, U, D},   {0, R, 1},  {0, L, D},   {7, Dn, 15},  {7, U, D},
                         {7, R, 8},   {7, L, 6},   {8, U, 0},  {8, L, 7},   {19, Dn, 27}, {19, U, 11},
                         {39, Dn, C}, {39, U, 31}, {39, R, C}, {39, L, 38}, {32, Dn, C},  {32, L, 31},
                         {31, R, 32}};
    // Only "Other colors"; an entry the popup lacks counts as nothing.
    const Step customOnly[] = {{C, Dn, 0}, {C, R, 0},   {C, U, 39}, {C, L, 39}, {N, Dn, C},
                               {N, U, C},  {N, R, C},   {N, L, C},  {0, U, C},  {0, L, C},
                               {39, R, C}, {36, Dn, C}, {D, Dn, C}};
    // Only "Default".
    const Step defaultOnly[] = {{D, Dn, 0}, {D, R, 0}, {D, U, 39}, {D, L, 39},  {N, Dn, D},
                                {N, U, D},  {N, R, D}, {N, L, D},  {39, Dn, D}, {39, R, D},
                                {0, U, D},  {0, L, D}, {C, U, D}};
    // Neither: the grid wraps onto itself.
    const Step neither[] = {{N, Dn, 0},  {N, R, 0},  {N, U, 39}, {N, L, 39}, {39, R, 0},
                            {36, Dn, 0}, {0, U, 39}, {0, L, 39}, {5, U, 39}, {16, L, 15}};
    walk(true, true, both);
    walk(false, true, customOnly);
    walk(true, false, defaultOnly);
    walk(false, false, neither);
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
    const PopupKey A = PopupKey::Accept, Esc = PopupKey::Cancel, O = PopupKey::Other;
    const std::pair<int, PopupKey> keys[] = {{0x0D, A}, {0x20, A}, {0x1B, Esc}, {0x26, U}, {0x28, Dn},
                                             {0x25, L}, {0x27, R}, {'A', O},    {0x09, O}};
    for (const auto& [virtualKey, key] : keys)
        EXPECT_EQ(core::popupKeyFor(virtualKey), key) << virtualKey;
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
