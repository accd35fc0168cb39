#include "core/bar_commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(BarMenu, CommandsAreUniqueAndSeparatorsNeverFollowEachOther) {
    const auto& items = core::barMenuItems();
    std::set<int> commands;
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        if (item.kind == core::MenuItemKind::Command) {
            EXPECT_TRUE(commands.insert(item.command).second) << item.text;
            ASSERT_NE(item.text, nullptr);
            EXPECT_EQ(std::string(item.text).find('&'), std::string::npos) << "no mnemonics: " << item.text;
        }
        if (item.kind == core::MenuItemKind::Separator) {
            EXPECT_EQ(item.text, nullptr);
            ASSERT_GT(i, 0u);
            ASSERT_LT(i + 1, items.size()) << "a menu never ends in a separator";
            EXPECT_NE(items[i - 1].kind, core::MenuItemKind::Separator);
        }
    }
    // Every command the bar's command handler knows has its item.
    EXPECT_EQ(commands, (std::set<int>{121, 123, 124, 125, 126, 127, 131}));
    EXPECT_EQ(items.front().kind, core::MenuItemKind::WindowList);
    EXPECT_STREQ(items.front().text, "IE windows list");
    EXPECT_STREQ(items.back().text, "About Corvane!");
}

TEST(BarMenu, WindowListCommandsReachOnlyEntriesThatStillExist) {
    // Command, list length, index: the list may have shrunk while the menu was open, only 200 commands act
    // however long the list, and neighbouring commands are not window-list commands.
    const int cases[][3] = {{10000, 3, 0},     {10002, 3, 2},    {10003, 3, -1},  {10000, 0, -1},
                            {10199, 500, 199}, {10200, 500, -1}, {9999, 500, -1}, {131, 500, -1}};
    for (const auto& [command, length, index] : cases)
        EXPECT_EQ(core::windowListIndex(command, length), index) << command << " of " << length;
    EXPECT_EQ(core::windowListCommand(0), 10000);
}

TEST(TrayIcon, OnlyTheButtonPressesAct) {
    EXPECT_EQ(core::trayAction(0x0201), core::TrayAction::Restore);
    EXPECT_EQ(core::trayAction(0x0204), core::TrayAction::OpenMenu);
    // Moves, releases, double clicks and the middle button do nothing, so a double click restores once.
    for (uint32_t msg : {0x0200u, 0x0202u, 0x0203u, 0x0205u, 0x0206u, 0x0207u, 0x0208u, 0x0209u, 0u})
        EXPECT_EQ(core::trayAction(msg), core::TrayAction::None) << std::hex << msg;
}

TEST(PictureButton, PressedWinsOverHover) {
    EXPECT_EQ(core::stripFrameX(false, false, 18), 0);
    EXPECT_EQ(core::stripFrameX(true, false, 18), 18);
    EXPECT_EQ(core::stripFrameX(false, true, 18), 36);
    EXPECT_EQ(core::stripFrameX(true, true, 12), 12);
}

TEST(LaunchErrors, FourResultsHaveAMessageAndSuccessHasNone) {
    EXPECT_STREQ(core::launchErrorMessage(0), "The system is out of memory or resources !");
    EXPECT_STREQ(core::launchErrorMessage(2), "The specified file was not found !");
    EXPECT_STREQ(core::launchErrorMessage(3), "The specified path was not found !");
    EXPECT_STREQ(core::launchErrorMessage(11),
                 "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image) !");
    // Other failure codes give no message, and neither does success.
    for (uintptr_t r : {1u, 5u, 8u, 12u, 31u, 32u, 33u, 1000u})
        EXPECT_EQ(core::launchErrorMessage(r), nullptr) << r;
}

} // namespace
