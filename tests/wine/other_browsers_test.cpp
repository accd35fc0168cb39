// The real bar beside today's browsers and the platform's own folder windows, with only the platform's
// taskbar (no tab control): stand-in browsers run under the browsers' program names.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "kit/bar_fixture.h"
#include "kit/standin.h"
#include "kit/tray.h"

namespace {

const std::string kChromium = "--class Chrome_WidgetWin_1";

class OtherBrowsers : public e2e::BarTest {
  protected:
    void start() { BarTest::start(false); }
    // A stand-in under a browser's program name; its first window of the class, shown or not.
    HWND open(const char* program, const std::string& arguments,
              const char* className = "Chrome_WidgetWin_1") {
        processes_.emplace_back();
        kit::Process& p = processes_.back();
        if (!standin::startBrowserAs(p, program, arguments)) return nullptr;
        HWND found = nullptr;
        kit::waitFor([&] { return (found = kit::findWindowOf(p.id(), className)) != nullptr; });
        return found;
    }
    // A classic window opened last: once it is listed, the bar has handled every report before it.
    bool settled(int expected) {
        HWND sentinel = browsers_.open("Sentinel", "IEFrame", true, 600, 300);
        bool listed = waitTools(expected + 1);
        browsers_.close(sentinel);
        return listed && waitTools(expected);
    }
    // The titles of the bar's window list, read from its menu.
    std::vector<std::string> listedTitles() {
        HWND menu = tray::openIconMenu(bar_);
        std::vector<std::string> titles;
        for (const std::string& item : tray::menuItems(bar_, menu))
            if (!item.empty() && item[0] == '\t') titles.push_back(item.substr(1));
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        return titles;
    }

    std::vector<kit::Process> processes_;
};

TEST_F(OtherBrowsers, TheirMainWindowsGetButtonsWithoutTheirBrowsersSuffix) {
    ASSERT_NE(open("chrome.exe", kChromium + " --title \"Chrome page - Google Chrome\""), nullptr);
    ASSERT_NE(open("code.exe", kChromium + " --title \"Editor - Google Chrome\""), nullptr);
    start();
    // The Edge title gets its zero-width space the way Edge writes it; the em dash is cp1252's 0x97.
    HWND edge = open("msedge.exe", kChromium + " --title \"Edge page - Microsoft Edge\"");
    ASSERT_NE(edge, nullptr);
    ASSERT_TRUE(waitTools(2));
    SetWindowTextW(edge, L"Edge page - Microsoft\u200B Edge");
    e2e::shellEvent(bar_, edge, e2e::kRetitled);
    ASSERT_NE(open("firefox.exe", "--class MozillaWindowClass --title \"Fox page \x97 Mozilla Firefox\"",
                   "MozillaWindowClass"),
              nullptr);
    ASSERT_NE(open("chrome.exe", kChromium + " --tool --title \"Tool - Google Chrome\""), nullptr);
    ASSERT_NE(open("chrome.exe", kChromium + " --owned --title \"Owned - Google Chrome\""), nullptr);
    // Shown and titled, they are still not the bar's: an event about one says so, and lists nothing.
    for (const char* title : {"Tool - Google Chrome", "Owned - Google Chrome"}) {
        HWND w = nullptr;
        ASSERT_TRUE(
            kit::waitFor([&] { return (w = tray::windowTitled(title)) != nullptr && IsWindowVisible(w); }));
        EXPECT_EQ(e2e::shellEvent(bar_, w, e2e::kActivated), 0) << title;
    }
    ASSERT_TRUE(settled(3));
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"Chrome page", "Edge page", "Fox page"}));
}

TEST_F(OtherBrowsers, AWindowShownAndTitledAfterItsCreationGetsItsButtonThen) {
    start();
    HWND late = open("chrome.exe", kChromium + " --hidden --title \"\"");
    ASSERT_NE(late, nullptr);
    ASSERT_TRUE(settled(0));
    SetWindowTextA(late, "Late - Google Chrome");
    ShowWindow(late, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(waitTools(1));
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"Late"}));
    // Reported again, it keeps its one button.
    EXPECT_EQ(e2e::shellEvent(bar_, late, e2e::kCreated), 1);
    EXPECT_TRUE(settled(1));
}

TEST_F(OtherBrowsers, WithCatchOtherBrowsersOffNoneIsTracked) {
    e2e::writeSetting("Catch other browsers", 0);
    ASSERT_NE(open("chrome.exe", kChromium + " --title \"Before - Google Chrome\""), nullptr);
    start();
    ASSERT_NE(open("firefox.exe", "--class MozillaWindowClass --title Fox", "MozillaWindowClass"), nullptr);
    ASSERT_NE(open("msedge.exe", kChromium + " --title Edge"), nullptr);
    EXPECT_TRUE(settled(0));
}

int folderWindows() {
    return static_cast<int>(kit::topLevelWindows("ExplorerWClass").size());
}

// The platform's own folder windows have the class of folder windows with the folder tree.
TEST_F(OtherBrowsers, FolderWindowsWithTheTreeAreCaughtLikeTheOthers) {
    for (DWORD catchThem : {1u, 0u}) {
        SCOPED_TRACE(catchThem);
        e2e::writeSetting("Catch Windows Explorer windows", catchThem);
        kit::Process before, after;
        ASSERT_TRUE(before.start("explorer.exe C:\\windows"));
        ASSERT_TRUE(kit::waitFor([] { return folderWindows() == 1; }, 10000));
        start();
        // The same folder again would only bring its window forward.
        ASSERT_TRUE(after.start("explorer.exe C:\\windows\\system32"));
        ASSERT_TRUE(kit::waitFor([] { return folderWindows() == 2; }, 10000));
        EXPECT_TRUE(settled(catchThem ? 2 : 0));
        ASSERT_TRUE(e2e::closeBar(proc_, bar_));
        bar_ = nullptr;
        for (HWND folder : kit::topLevelWindows("ExplorerWClass"))
            PostMessageA(folder, WM_CLOSE, 0, 0);
        ASSERT_TRUE(kit::waitFor([] { return folderWindows() == 0; }, 10000));
    }
}

// A restarted shell forgets every appbar: the bar registers again and takes its strip back.
TEST_F(OtherBrowsers, ANewTaskbarGetsTheBarsStripBack) {
    start();
    ASSERT_TRUE(tray::bottomStripReserved());
    APPBARDATA abd{};
    abd.cbSize = sizeof(abd);
    abd.hWnd = bar_;
    SHAppBarMessage(ABM_REMOVE, &abd);
    ASSERT_FALSE(tray::bottomStripReserved());
    SendMessageTimeoutA(bar_, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_BLOCK, 3000, nullptr);
    EXPECT_TRUE(tray::bottomStripReserved());
}

} // namespace
