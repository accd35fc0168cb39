#include "core/browser_classes.h"

#include <gtest/gtest.h>

#include <string>

#include "core/browser_rules.h"

namespace {

using core::otherBrowserOf;

TEST(OtherBrowsers, TheProcessDecidesWhetherAToolkitWindowIsABrowser) {
    for (const char* image :
         {"chrome.exe", "msedge.exe", "brave.exe", "vivaldi.exe", "opera.exe", "chromium.exe"})
        EXPECT_NE(otherBrowserOf("Chrome_WidgetWin_1", image), nullptr) << image;
    EXPECT_NE(
        otherBrowserOf("Chrome_WidgetWin_0", "C:\\Program Files\\Google\\Chrome\\Application\\CHROME.EXE"),
        nullptr);
    EXPECT_NE(otherBrowserOf("MozillaWindowClass", "/opt/firefox/firefox.exe"), nullptr);
    // The same toolkit in an editor, a browser's dialog class, or the right class in the wrong browser.
    EXPECT_EQ(otherBrowserOf("Chrome_WidgetWin_1", "code.exe"), nullptr);
    EXPECT_EQ(otherBrowserOf("Chrome_WidgetWin_1", "C:\\apps\\mychrome.exe"), nullptr);
    EXPECT_EQ(otherBrowserOf("MozillaDialogClass", "firefox.exe"), nullptr);
    EXPECT_EQ(otherBrowserOf("MozillaWindowClass", "chrome.exe"), nullptr);
    EXPECT_EQ(otherBrowserOf("Chrome_WidgetWin_1", "firefox.exe"), nullptr);
    EXPECT_EQ(otherBrowserOf("chrome_widgetwin_1", "chrome.exe"), nullptr);
    EXPECT_EQ(otherBrowserOf("Chrome_WidgetWin_1", ""), nullptr);
    EXPECT_TRUE(core::isOtherBrowserClass("Chrome_WidgetWin_2"));
    EXPECT_FALSE(core::isOtherBrowserClass("Chrome_Widget"));
}

std::string titleIn(const char* image, const char* className, const std::string& text) {
    const core::BrowserProgram* program = otherBrowserOf(className, image);
    return program ? core::otherBrowserTitle(text, *program) : "<not a browser>";
}

TEST(OtherBrowsers, OnlyTheOwnBrowsersSuffixGoesAndOnlyAtTheEnd) {
    EXPECT_EQ(titleIn("chrome.exe", "Chrome_WidgetWin_1", "News - Google Chrome"), "News");
    EXPECT_EQ(titleIn("msedge.exe", "Chrome_WidgetWin_1", "News - Microsoft\xE2\x80\x8B Edge"), "News");
    EXPECT_EQ(titleIn("msedge.exe", "Chrome_WidgetWin_1", "News - Microsoft Edge"), "News");
    EXPECT_EQ(titleIn("brave.exe", "Chrome_WidgetWin_1", "News - Brave"), "News");
    EXPECT_EQ(titleIn("vivaldi.exe", "Chrome_WidgetWin_1", "News - Vivaldi"), "News");
    EXPECT_EQ(titleIn("opera.exe", "Chrome_WidgetWin_1", "News - Opera"), "News");
    EXPECT_EQ(titleIn("chromium.exe", "Chrome_WidgetWin_1", "News - Chromium"), "News");
    EXPECT_EQ(titleIn("firefox.exe", "MozillaWindowClass", "News \xE2\x80\x94 Mozilla Firefox"), "News");
    EXPECT_EQ(titleIn("firefox.exe", "MozillaWindowClass", "News - Mozilla Firefox"), "News");
    // Another browser's suffix, one inside the title, or one in another letter case stays.
    EXPECT_EQ(titleIn("chrome.exe", "Chrome_WidgetWin_1", "Why - Mozilla Firefox"), "Why - Mozilla Firefox");
    EXPECT_EQ(titleIn("chrome.exe", "Chrome_WidgetWin_1", "A - Google Chrome review"),
              "A - Google Chrome review");
    EXPECT_EQ(titleIn("chrome.exe", "Chrome_WidgetWin_1", "A - google chrome"), "A - google chrome");
    EXPECT_EQ(titleIn("opera.exe", "Chrome_WidgetWin_1", " - Opera"), "");
    EXPECT_EQ(titleIn("opera.exe", "Chrome_WidgetWin_1", "Opera"), "Opera");
}

} // namespace

namespace {

TEST(BuiltInBrowser, OnlyTheBuiltInCommandNamesAProgramToLookFor) {
    EXPECT_EQ(core::builtInBrowserProgram("c:\\Program Files\\Internet Explorer\\iexplore.exe -nohome"),
              "c:\\Program Files\\Internet Explorer\\iexplore.exe");
    EXPECT_EQ(core::builtInBrowserProgram("c:\\Program Files\\Internet Explorer\\iexplore.exe"), "");
    EXPECT_EQ(core::builtInBrowserProgram("notepad.exe"), "");
}

} // namespace
