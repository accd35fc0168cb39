// The registry operations and the start-up load on Wine's real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/app.h"
#include "app/settings_store.h"
#include "kit/bar.h"

namespace {

constexpr const char* kKey = "Software\\Corvane!";

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override { e2e::deleteSettingsKey(); }
    void TearDown() override { e2e::deleteSettingsKey(); }
    static void raw(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name, type, data, size), ERROR_SUCCESS);
    }
};

TEST_F(SettingsStore, NoKeyGivesEveryDefaultAndLeavesTheKeyAbsent) {
    app::loadSettingsAndFonts();
    const core::Settings& s = app::settings();
    EXPECT_EQ(s.dockEdge, 3);
    EXPECT_EQ(s.barHeight, 24);
    EXPECT_EQ(s.barBackgroundColor, static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(s.fontFaceName, "MS Sans Serif");
    EXPECT_EQ(s.browserCommand, "c:\\Program Files\\Internet Explorer\\iexplore.exe -nohome");
    EXPECT_FALSE(e2e::settingsKeyExists());
    EXPECT_NE(app::buttonFont(), nullptr);
    EXPECT_NE(app::dialogFont(), nullptr);
}

TEST_F(SettingsStore, NumbersAreTakenFromAnyValueOfAtMostFourBytes) {
    raw("Bar height", REG_SZ, "40000", 6); // six bytes: too long for a number
    BYTE four[4] = {0x28, 0, 0, 0};
    raw("Top", REG_BINARY, four, 4);
    BYTE two[2] = {0xFF, 0x01};
    raw("Left", REG_BINARY, two, 2);
    DWORD ten = 10;
    raw("Width", REG_DWORD, &ten, 4);
    EXPECT_EQ(app::readDwordSetting(kKey, "Bar height", 24), 24);
    EXPECT_EQ(app::readDwordSetting(kKey, "Top", 0), 40);
    EXPECT_EQ(app::readDwordSetting(kKey, "Left", 0), 0x1FF);
    EXPECT_EQ(app::readDwordSetting(kKey, "Width", 700), 10);
    EXPECT_EQ(app::readDwordSetting(kKey, "Missing", -7), -7);
    EXPECT_EQ(app::readDwordSetting("Software\\Corvane!\\Nowhere", "Top", 5), 5);
}

TEST_F(SettingsStore, TextsAreReadUpToTheirEndAndEmptyTextStaysEmpty) {
    raw("Font face name", REG_SZ, "", 1);
    raw("Internet Explorer path", REG_SZ, "a.exe\0junk", 11);
    EXPECT_EQ(app::readStringSetting(kKey, "Font face name", "MS Sans Serif"), "");
    EXPECT_EQ(app::readStringSetting(kKey, "Internet Explorer path", "x"), "a.exe");
    EXPECT_EQ(app::readStringSetting(kKey, "Missing", "dflt"), "dflt");
    // A text without its terminating NUL still reads whole.
    raw("Unterminated", REG_BINARY, "abc", 3);
    EXPECT_EQ(app::readStringSetting(kKey, "Unterminated", ""), "abc");
}

TEST_F(SettingsStore, WritesCreateTheKeyAndReadBackTheSame) {
    app::writeDwordSetting(kKey, "Bar height", 33);
    app::writeStringSetting(kKey, "Font face name", "DejaVu Sans");
    EXPECT_TRUE(e2e::settingsKeyExists());
    EXPECT_EQ(app::readDwordSetting(kKey, "Bar height", 24), 33);
    EXPECT_EQ(app::readStringSetting(kKey, "Font face name", ""), "DejaVu Sans");
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kKey, "Font face name", RRF_RT_ANY, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 12u); // the characters and the terminating NUL
}

TEST_F(SettingsStore, TextOutsideTheAnsiCodePageRoundTripsAndEarlierAnsiValuesReadUnchanged) {
    const std::string path =
        "C:\\\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb1\xd0\xb0 \xe6\x97\xa5\xe6\x9c\xac\\probe.exe -x";
    app::writeStringSetting(kKey, "Internet Explorer path", path);
    EXPECT_EQ(app::readStringSetting(kKey, "Internet Explorer path", ""), path);
    // Kept as a UTF-16 REG_SZ, as any program reading it wide expects.
    EXPECT_EQ(e2e::readSettingWide("Internet Explorer path"), path);
    // An earlier version wrote its texts through the ANSI call (Windows-1252 here).
    raw("Font face name", REG_SZ, "Caf\xe9", 5);
    EXPECT_EQ(app::readStringSetting(kKey, "Font face name", ""), "Caf\xc3\xa9");
}

TEST_F(SettingsStore, StartUpLoadTakesStoredValuesAndBuildsTheFontFromThem) {
    // A height in its range: one below 24 is raised to it (the range tests).
    DWORD italic = 0x100, height = 30, weight = 700;
    raw("Font italic", REG_DWORD, &italic, 4);
    raw("Bar height", REG_DWORD, &height, 4);
    raw("Font weight", REG_DWORD, &weight, 4);
    app::loadSettingsAndFonts();
    EXPECT_EQ(app::settings().barHeight, 30);
    EXPECT_EQ(app::settings().fontItalic, 0x100);
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(app::buttonFont(), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfHeight, -11);
}

} // namespace
