#include "core/button_click.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using core::LeftAction;
using core::LeftPress;

LeftPress onButton() {
    LeftPress p;
    p.hit = true;
    return p;
}

TEST(LeftPress, BesideEveryButtonClearsTheMarkerWhateverElseHolds) {
    LeftPress p;
    p.shift = true;
    p.onGlyph = true;
    p.isActive = true;
    p.minimizeOnSecondClick = true;
    p.hit = false;
    EXPECT_EQ(core::decideLeftPress(p), LeftAction::ClearActive);
}

TEST(LeftPress, TheGlyphClosesOneWindowOrWithShiftAll) {
    LeftPress p = onButton();
    p.onGlyph = true;
    p.isActive = true;
    p.minimizeOnSecondClick = true;
    EXPECT_EQ(core::decideLeftPress(p), LeftAction::CloseWindow);
    p.shift = true;
    EXPECT_EQ(core::decideLeftPress(p), LeftAction::CloseAll);
}

TEST(LeftPress, SecondClickOnTheActiveButtonMinimisesOnlyWhenAllowed) {
    LeftPress p = onButton();
    p.isActive = true;
    EXPECT_EQ(core::decideLeftPress(p), LeftAction::BringToFront);
    p.minimizeOnSecondClick = true;
    EXPECT_EQ(core::decideLeftPress(p), LeftAction::MinimiseActive);
    p.shift = true;
    EXPECT_EQ(core::decideLeftPress(p), LeftAction::MinimiseAll);
    // A minimised active window comes back instead, Shift or not.
    p.iconic = true;
    EXPECT_EQ(core::decideLeftPress(p), LeftAction::RestoreActive);
    p.shift = false;
    EXPECT_EQ(core::decideLeftPress(p), LeftAction::RestoreActive);
}

TEST(LeftPress, AnInactiveButtonAlwaysBringsItsWindowForward) {
    LeftPress p = onButton();
    p.minimizeOnSecondClick = true;
    p.shift = true;
    EXPECT_EQ(core::decideLeftPress(p), LeftAction::BringToFront);
    p.iconic = true;
    EXPECT_EQ(core::decideLeftPress(p), LeftAction::BringToFront);
}

TEST(ContextMenu, FirstItemFollowsTheWindowStateAndTheChoiceIsReadAgainAfterwards) {
    EXPECT_EQ(std::string(core::contextMenuFirstItem(true)), "Restore");
    EXPECT_EQ(std::string(core::contextMenuFirstItem(false)), "Minimize");
    // The window may have changed state while the menu was open: the state at the choice counts.
    EXPECT_EQ(core::decideContextCommand(core::kContextMenuToggle, true), core::MenuAction::RestoreAndFront);
    EXPECT_EQ(core::decideContextCommand(core::kContextMenuToggle, false), core::MenuAction::Minimise);
    EXPECT_EQ(core::decideContextCommand(core::kContextMenuClose, true), core::MenuAction::Close);
    EXPECT_EQ(core::decideContextCommand(0, false), core::MenuAction::Nothing);
    EXPECT_EQ(core::decideContextCommand(3, false), core::MenuAction::Nothing);
}

} // namespace
