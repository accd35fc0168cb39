#include "core/ui_languages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UiLanguages, TheSettingWinsWhenItNamesALanguageElseTheSystemThroughItsPrimaryLanguage) {
    struct Case {
        const char* setting;
        uint16_t system;
        const char* want;
    };
    const Case cases[] = {
        {"", 0x0407, "de-DE"},      {"", 0x0411, "ja-JP"},      {"", 0x0C07, "de-DE"}, // de-AT
        {"", 0x0816, "pt-BR"},      {"", 0x080A, "es-ES"},      {"", 0x0404, "zh-CN"}, // zh-TW
        {"", 0x0413, "en-US"},      {"", 0x0809, "en-US"},      {"", 0x0000, "en-US"}, // nl-NL, en-GB
        {"ja-JP", 0x0407, "ja-JP"}, {"JA-jp", 0x0409, "ja-JP"}, {"en-US", 0x0411, "en-US"},
        {"xx-YY", 0x040C, "fr-FR"}, {"de", 0x0419, "ru-RU"},    {"de-DE ", 0x0409, "en-US"},
    };
    for (const Case& c : cases) {
        const size_t got = core::chooseUiLanguage(c.setting, c.system);
        ASSERT_LT(got, core::kUiLanguageCount);
        EXPECT_STREQ(core::kUiLanguages[got].localeName, c.want) << '"' << c.setting << "\" " << c.system;
    }
    EXPECT_EQ(core::uiLanguageNamed(""), core::kUiLanguageCount);
}

} // namespace
