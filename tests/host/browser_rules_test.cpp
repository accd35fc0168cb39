#include "core/browser_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(BrowserTitle, TheBrowsersSuffixGoesWhereverItStands) {
    EXPECT_EQ(core::browserTitle("News - Microsoft Internet Explorer"), "News");
    EXPECT_EQ(core::browserTitle(" - Microsoft Internet Explorer"), "");
    EXPECT_EQ(core::browserTitle("  News - Microsoft Internet Explorer - Microsoft Internet Explorer "),
              "News");
    EXPECT_EQ(core::browserTitle("A - Microsoft Internet Explorer and B"), "A and B");
}

TEST(BrowserTitle, OnlyTheExactSuffixIsRemovedAndInnerSpacesStay) {
    EXPECT_EQ(core::browserTitle("News - microsoft internet explorer"), "News - microsoft internet explorer");
    EXPECT_EQ(core::browserTitle("\t My  Page \r\n"), "My  Page");
    EXPECT_EQ(core::browserTitle(""), "");
    EXPECT_EQ(core::browserTitle("Tom & Jerry"), "Tom & Jerry");
    // Matches are found in the original text: removing one does not make a new one out of its neighbours.
    EXPECT_EQ(core::browserTitle(" - Microsoft - Microsoft Internet Explorer Internet Explorer"),
              "- Microsoft Internet Explorer");
}

TEST(BrowserTitle, TextOutsideAsciiIsKept) {
    EXPECT_EQ(core::browserTitle("\xe9t\xe9 - Microsoft Internet Explorer"), "\xe9t\xe9");
    EXPECT_EQ(core::browserTitle("\xa0x\xa0"), "\xa0x\xa0");
}

TEST(TrackedClass, BrowserFramesAlwaysFolderWindowsOnlyWhenCaught) {
    for (const char* name : {"IEFrame", "CabinetWClass", "ExplorerWClass"}) {
        EXPECT_TRUE(core::isTrackedClass(name, true)) << name;
        EXPECT_EQ(core::isTrackedClass(name, false), name[0] == 'I') << name;
    }
    for (const char* name : {"ieframe", "IEFrame2", "IEFram", "ExploreWClass", ""})
        EXPECT_FALSE(core::isTrackedClass(name, true)) << name;
}

} // namespace
