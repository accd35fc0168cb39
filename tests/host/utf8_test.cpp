#include "core/browser_rules.h"
#include "core/utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, WellFormedTextPassesAndEveryKindOfMalformedSequenceFails) {
    EXPECT_TRUE(core::isValidUtf8(""));
    EXPECT_TRUE(core::isValidUtf8("plain ascii\r\n"));
    EXPECT_TRUE(core::isValidUtf8(
        "\xd0\x9d\xd0\xbe\xd0\xb2\xd0\xbe\xd1\x81\xd1\x82\xd0\xb8 \xe6\x97\xa5\xe6\x9c\xac"));
    EXPECT_TRUE(core::isValidUtf8("\xf0\x9f\x98\x80"));  // an emoji, four bytes
    EXPECT_FALSE(core::isValidUtf8("\xe9t\xe9"));        // Latin-1 as an older server sends it
    EXPECT_FALSE(core::isValidUtf8("\xe6\x97"));         // cut short at the end
    EXPECT_FALSE(core::isValidUtf8("\xc0\xaf"));         // overlong
    EXPECT_FALSE(core::isValidUtf8("\xe0\x80\xaf"));     // overlong, three bytes
    EXPECT_FALSE(core::isValidUtf8("\xed\xa0\x80"));     // a surrogate half
    EXPECT_FALSE(core::isValidUtf8("\xf4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(core::isValidUtf8("\x80"));             // a lone continuation byte
}

TEST(Utf8, TheTitleRuleKeepsNonLatinTextWhole) {
    const std::string title =
        "\xd0\x9d\xd0\xbe\xd0\xb2\xd0\xbe\xd1\x81\xd1\x82\xd0\xb8 \xe6\x97\xa5\xe6\x9c\xac";
    EXPECT_EQ(core::browserTitle("  " + title + " - Microsoft Internet Explorer\t"), title);
    EXPECT_EQ(core::browserTitle("\xe4\xb8\xad - Microsoft Internet Explorer\xe6\x96\x87"),
              "\xe4\xb8\xad\xe6\x96\x87");
}

TEST(LaunchResult, SystemErrorsMapToTheFourLaunchMessages) {
    const unsigned results[][2] = {{2, 2}, {3, 3}, {193, 11}, {8, 0}, {5, 1}};
    for (const auto& [error, result] : results)
        EXPECT_EQ(core::launchResultForError(error), result) << error;
}

} // namespace
