// Every stored value with every wrong type and size, and every number out of its range: each reads as its
// rule says, and the bar still starts and takes no more of the screen than a sane strip.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/settings_store.h"
#include "core/setting_ranges.h"
#include "core/settings.h"
#include "kit/bar.h"

namespace {

constexpr const char* kKey = "Software\\Corvane!";

struct Garbage {
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<Garbage> garbageKinds() {
    std::vector<Garbage> kinds;
    for (size_t size : {0u, 1u, 2u, 3u, 5u, 4096u}) {
        std::vector<BYTE> bytes(size);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<BYTE>('A' + i % 26);
        kinds.push_back({REG_BINARY, bytes});
        kinds.push_back({REG_SZ, bytes}); // text without its NUL
    }
    const char multi[] = "one\0two\0";
    kinds.push_back({REG_MULTI_SZ, std::vector<BYTE>(multi, multi + sizeof(multi))});
    kinds.push_back({REG_QWORD, std::vector<BYTE>(8, 0x11)});
    return kinds;
}

// What a number reads as: at most four bytes, zero-extended, else the default.
int32_t expectedNumber(const Garbage& g, int32_t fallback) {
    if (g.data.size() > 4) return fallback;
    uint32_t v = 0;
    for (size_t i = 0; i < g.data.size(); ++i)
        v |= static_cast<uint32_t>(g.data[i]) << (8 * i);
    return static_cast<int32_t>(v);
}

// What a text reads as: the data up to its first NUL. Every value here has the same size, so a key whose
// longest value is empty reads as the default.
std::string expectedText(const Garbage& g, const std::string& fallback) {
    if (g.data.empty()) return fallback;
    std::string s(g.data.begin(), g.data.end());
    return s.substr(0, s.find('\0'));
}

class RegistryGarbage : public ::testing::Test {
  protected:
    void SetUp() override { e2e::deleteSettingsKey(); }
    void TearDown() override { e2e::deleteSettingsKey(); }
};

TEST_F(RegistryGarbage, EveryValueWithEveryWrongTypeAndSizeReadsAsItsRuleSays) {
    const core::Settings defaults;
    for (const Garbage& g : garbageKinds()) {
        e2e::deleteSettingsKey();
        for (const core::SettingDef& def : core::settingTable())
            ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kKey, def.name, g.type, g.data.data(),
                                      static_cast<DWORD>(g.data.size())),
                      ERROR_SUCCESS);
        app::loadSettingsAndFonts();
        const core::Settings& s = app::settings();
        // The bytes as read, then put in range by the rule the host tests pin down.
        const auto face = static_cast<int32_t>(GetSysColor(COLOR_BTNFACE));
        core::Settings expected;
        for (const core::SettingDef& def : core::settingTable()) {
            if (def.dword) {
                int32_t fallback =
                    def.dword == &core::Settings::barBackgroundColor ? face : defaults.*def.dword;
                expected.*def.dword = expectedNumber(g, fallback);
            }
        }
        core::keepInRange(expected, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, face);
        for (const core::SettingDef& def : core::settingTable()) {
            SCOPED_TRACE(std::string(def.name) + " type " + std::to_string(g.type) + " size " +
                         std::to_string(g.data.size()));
            if (def.dword) {
                EXPECT_EQ(s.*def.dword, expected.*def.dword);
            } else if (def.flag) {
                EXPECT_EQ(s.*def.flag, expectedNumber(g, defaults.*def.flag ? 1 : 0) != 0);
            } else {
                EXPECT_EQ(s.*def.text, expectedText(g, defaults.*def.text));
            }
        }
        EXPECT_NE(app::buttonFont(), nullptr);
    }
}

TEST_F(RegistryGarbage, TheBarStartsAndDocksWithEveryValueUnreadable) {
    std::vector<BYTE> junk(4096, 0xFF);
    for (const core::SettingDef& def : core::settingTable())
        RegSetKeyValueA(HKEY_CURRENT_USER, kKey, def.name, REG_BINARY, junk.data(),
                        static_cast<DWORD>(junk.size()));
    kit::Process bar;
    HWND wnd = nullptr;
    ASSERT_TRUE(e2e::startBar(bar, &wnd));
    RECT rc{};
    GetWindowRect(wnd, &rc);
    EXPECT_EQ(rc.top, 744); // every number fell back to its default
    EXPECT_EQ(rc.bottom, 768);
    EXPECT_TRUE(e2e::closeBar(bar, wnd));
}

// Numbers no preferences page would store. Flags have no such value (any non-zero is on) and stay off.
TEST_F(RegistryGarbage, OutOfRangeNumbersLeaveTheBarStartingWithASaneStrip) {
    const std::vector<std::pair<const char*, DWORD>> high = {{"Show on top of desktop", 2},
                                                             {"Bar height", 100000},
                                                             {"Left", 0x7FFFFFFF},
                                                             {"Top", 0x80000000},
                                                             {"Width", 0xFFFFFFFF},
                                                             {"Height", 100000},
                                                             {"Hot Key Hide", 0xFFFFFFFF},
                                                             {"Hot Key New", 0x00FF0041},
                                                             {"Bar background color", 0xFF000000},
                                                             {"Buttons text color", 0x01000000},
                                                             {"Active button color", 0xFFFFFFFF},
                                                             {"Active button text color", 0x02000000},
                                                             {"Font height", 100000},
                                                             {"Font weight", 5000}};
    const std::vector<std::pair<const char*, DWORD>> low = {{"Show on top of desktop", 0},
                                                            {"Bar height", 0xFFFFFF00},
                                                            {"Font height", 0x80000000},
                                                            {"Font weight", 0xFFFFFFFF}};
    const int screen = GetSystemMetrics(SM_CYSCREEN);
    for (const auto* values : {&high, &low}) {
        e2e::deleteSettingsKey();
        for (const auto& [name, value] : *values)
            e2e::writeSetting(name, value);
        kit::Process bar;
        HWND wnd = nullptr;
        ASSERT_TRUE(e2e::startBar(bar, &wnd));
        RECT rc{};
        GetWindowRect(wnd, &rc);
        // Docked at the bottom (the default edge), at least the least height and at most a quarter.
        EXPECT_EQ(rc.bottom, screen);
        EXPECT_GE(rc.bottom - rc.top, 24);
        EXPECT_LE(rc.bottom - rc.top, screen / 4);
        // Wine never shrinks the work area: what the shell reserved shows in what it offers the next bar.
        const LONG offered = e2e::bottomOfferedToANewcomer();
        EXPECT_GE(offered, screen - screen / 4);
        EXPECT_EQ(offered, rc.top);
        EXPECT_TRUE(e2e::closeBar(bar, wnd));
    }
}

} // namespace
