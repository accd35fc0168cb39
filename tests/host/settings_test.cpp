#include "core/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace {

// Records the order of reads and answers from a map, the way the registry would.
class MapSource : public core::SettingsSource {
  public:
    std::map<std::string, int32_t> dwords;
    std::map<std::string, std::string> texts;
    std::vector<std::string> order;

    int32_t readDword(const char* name, int32_t fallback) override {
        order.emplace_back(name);
        auto it = dwords.find(name);
        return it == dwords.end() ? fallback : it->second;
    }
    std::string readString(const char* name, const std::string& fallback) override {
        order.emplace_back(name);
        auto it = texts.find(name);
        return it == texts.end() ? fallback : it->second;
    }
};

TEST(Settings, EmptySourceGivesEveryDefaultInTableOrder) {
    MapSource src;
    core::Settings s = core::loadSettings(src, 0x00C0C0C0);
    ASSERT_EQ(src.order.size(), 41u);
    EXPECT_EQ(src.order.front(), "Show on top of desktop");
    EXPECT_EQ(src.order[16], "Internet Explorer path");
    EXPECT_EQ(src.order[34], "Font face name");
    EXPECT_EQ(src.order[35], "Show window icons");
    EXPECT_EQ(src.order[36], "Language");
    EXPECT_EQ(src.order[37], "Only windows of the current desktop");
    EXPECT_EQ(src.order.back(), "Buttons on the bar of the window's monitor");
    EXPECT_EQ(s.barsOn, core::kBarsOnEvery);
    EXPECT_TRUE(s.buttonsOnWindowMonitor);
    EXPECT_EQ(s.language, ""); // follows the Windows display language
    EXPECT_EQ(s.dockEdge, 3);
    EXPECT_EQ(s.barHeight, 24);
    EXPECT_EQ(s.hotKeyHide, 0x0003006D);
    EXPECT_EQ(s.hotKeyNew, 0x0003006B);
    EXPECT_EQ(s.hotKeyFocus, 0x0003006A);
    EXPECT_EQ(s.barBackgroundColor, 0x00C0C0C0);
    EXPECT_EQ(s.activeButtonColor, 0x00B9E3F8);
    EXPECT_EQ(s.attentionButtonColor, 0x000080FF);
    EXPECT_TRUE(s.middleClickCloses);
    EXPECT_EQ(s.fontHeight, -11);
    EXPECT_EQ(s.fontCharset, 1);
    EXPECT_EQ(s.alignWidth, 700);
    EXPECT_EQ(s.alignHeight, 500);
    EXPECT_EQ(s.catchExplorerWindows, 1);
    EXPECT_EQ(s.catchOtherBrowsers, 1);
    EXPECT_TRUE(s.showWindowIcons);
    EXPECT_TRUE(s.currentDesktopOnly);
    EXPECT_EQ(s.browserCommand, "c:\\Program Files\\Internet Explorer\\iexplore.exe -nohome");
    EXPECT_EQ(s.fontFaceName, "MS Sans Serif");
}

TEST(Settings, StoredValuesWinIncludingEmptyTextAndOutOfRangeNumbers) {
    MapSource src;
    src.dwords["Bar height"] = 10;
    src.dwords["Show on top of desktop"] = 1;
    src.texts["Font face name"] = "";
    src.texts["Internet Explorer path"] = "";
    core::Settings s = core::loadSettings(src, 0);
    EXPECT_EQ(s.barHeight, 10);
    EXPECT_EQ(s.dockEdge, 1);
    EXPECT_EQ(s.fontFaceName, "");
    EXPECT_EQ(s.browserCommand, "");
}

TEST(Settings, AnOnOffValueIsOnForAnyDwordButZero) {
    MapSource src;
    src.dwords = {{"Autohide", 7}, {"Align browser windows", -1}, {"Catch other browsers", 0}};
    core::Settings s = core::loadSettings(src, 0);
    EXPECT_TRUE(s.autoHide);
    EXPECT_TRUE(s.alignBrowsers);
    EXPECT_FALSE(s.catchOtherBrowsers);
    EXPECT_TRUE(s.maximizeBrowsers);
}

TEST(Settings, TableNamesAreUniqueAndEachFillsOneField) {
    std::set<std::string> names;
    for (const auto& def : core::settingTable()) {
        EXPECT_TRUE(names.insert(def.name).second) << def.name;
        EXPECT_EQ((def.dword != nullptr) + (def.text != nullptr) + (def.flag != nullptr), 1) << def.name;
    }
}

TEST(Settings, SwapHotKeyModifiersMapsShiftAndAltAndDropsTheRest) {
    const int swaps[][2] = {{0x0F, 0x07}, {0x03, 0x06}, {0x01, 0x04},
                            {0x04, 0x01}, {0x02, 0x02}, {0xF8, 0x00}};
    for (const auto& [flags, swapped] : swaps)
        EXPECT_EQ(core::swapHotKeyModifiers(static_cast<uint8_t>(flags)), swapped) << flags;
    for (int f = 0; f < 256; ++f) {
        auto b = static_cast<uint8_t>(f);
        EXPECT_EQ(core::swapHotKeyModifiers(core::swapHotKeyModifiers(b)), b & 0x07);
    }
}

TEST(Settings, HotKeyValueSplitsIntoModifiersAndKey) {
    EXPECT_EQ(core::makeHotKeyValue(3, 0x6D), 0x0003006Du);
    EXPECT_EQ(core::hotKeyModifiers(0x0003006D), 3u);
    EXPECT_EQ(core::hotKeyVirtualKey(0x0003006D), 0x6Du);
}

} // namespace
