// The bar's own buttons, tray, hot keys, menus and browser launching, with the real corvane.exe and real
// input.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/program_name.h"
#include "kit/bar_fixture.h"
#include "kit/input.h"
#include "kit/tray.h"

namespace {

using tray::kTrayNotify;
constexpr UINT kHideKeyMods = MOD_CONTROL | MOD_ALT;

std::string probePath() {
    return kit::binDir() + "\\tests\\wine\\launch_probe.exe";
}
std::string programPath() {
    return kit::distDir() + "\\corvane.exe";
}

POINT centreOf(HWND w) {
    RECT rc{};
    GetWindowRect(w, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

class Tray : public e2e::BarProgramTest {
  protected:
    void SetUp() override {
        BarProgramTest::SetUp();
        kit::moveTo(512, 300);
    }
    void TearDown() override {
        kit::leftUp();
        kit::holdShift(false);
        // A menu left open would swallow the close.
        if (HWND menu = tray::popupMenu()) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        BarProgramTest::TearDown();
        for (const char* t : probes_)
            tray::closeWindowsTitled(t);
    }
    // Starts a bar that is to come up in the tray: it never shows, its icon is the sign of life.
    void startInTray() {
        ASSERT_TRUE(proc_.start("\"" + programPath() + "\""));
        ASSERT_TRUE(
            kit::waitFor([&] { return (bar_ = e2e::findBar()) != nullptr && tray::iconPresent(bar_); }));
    }
    void useProbeAsBrowser(const char* title) {
        probes_.push_back(title);
        e2e::writeSetting("Internet Explorer path", probePath() + " " + title);
    }
    bool docked() { return IsWindowVisible(bar_) && tray::bottomStripReserved() && !tray::iconPresent(bar_); }
    bool inTray() {
        return !IsWindowVisible(bar_) && !tray::bottomStripReserved() && tray::iconPresent(bar_);
    }

    std::vector<const char*> probes_;
};

TEST_F(Tray, TheOwnButtonsSitAtTheirPlacesAndShowTheirNormalFrames) {
    start();
    struct Expect {
        int id;
        int x, size;
        const char* caption;
        WORD strip;
    };
    const Expect buttons[] = {{245, 32, 18, "New browser window.\nHold for menu.", 106},
                              {219, 3, 12, "Close", 100},
                              {231, 16, 12, "Hide", 103},
                              {230, 1024 - 29, 12, "Hide", 103},
                              {218, 1024 - 16, 12, "Close", 100}};
    for (const Expect& e : buttons) {
        HWND b = GetDlgItem(bar_, e.id);
        ASSERT_NE(b, nullptr) << e.id;
        RECT screen{};
        GetWindowRect(b, &screen);
        RECT rc = screen;
        MapWindowPoints(nullptr, bar_, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(rc.left, e.x) << e.id;
        EXPECT_EQ(rc.top, 3) << e.id;
        EXPECT_EQ(rc.right - rc.left, e.size) << e.id;
        EXPECT_EQ(rc.bottom - rc.top, e.size) << e.id;
        char text[64] = {};
        GetWindowTextA(b, text, sizeof(text));
        EXPECT_STREQ(text, e.caption);
        EXPECT_EQ(GetWindowLongPtrA(b, GWL_STYLE) & 0x5000000F, 0x5000000B) << e.id;

        kit::Strip strip = kit::loadStrip(programPath(), e.strip);
        ASSERT_EQ(strip.width, 3 * e.size);
        EXPECT_TRUE(
            kit::waitFor([&] { return kit::differingPixels(screen.left, screen.top, strip, 0) == 0; }, 2000))
            << "button " << e.id << " does not show its normal frame";
    }
}

TEST_F(Tray, ThePointerOnABarButtonShowsItsHoverFrameAndItsToolTip) {
    start();
    HWND b = GetDlgItem(bar_, 245);
    ASSERT_NE(b, nullptr);
    RECT screen{};
    GetWindowRect(b, &screen);
    kit::Strip strip = kit::loadStrip(programPath(), 106);
    POINT c = centreOf(b);
    ASSERT_TRUE(kit::moveTo(c.x, c.y));
    kit::moveTo(c.x + 1, c.y);
    EXPECT_TRUE(
        kit::waitFor([&] { return kit::differingPixels(screen.left, screen.top, strip, 2) == 0; }, 2000));
    EXPECT_TRUE(kit::waitFor([&] { return tray::shownToolTip(proc_.id()) == "New browser window"; }, 4000));
    kit::moveTo(c.x, c.y - 200);
    EXPECT_TRUE(
        kit::waitFor([&] { return kit::differingPixels(screen.left, screen.top, strip, 0) == 0; }, 2000));
}

TEST_F(Tray, HoldingNewBrowserOpensTheMenuRightOfTheButtonWhileItIsHeld) {
    useProbeAsBrowser("probe hold");
    start();
    ASSERT_TRUE(kit::moveTo(centreOf(GetDlgItem(bar_, 245))));
    kit::leftDown();
    HWND menu = tray::waitPopupMenu();
    // The menu is there while the test still holds the left button down.
    ASSERT_NE(menu, nullptr);
    RECT rc{};
    GetWindowRect(menu, &rc);
    POINT expected{50, 2};
    ClientToScreen(bar_, &expected);
    EXPECT_EQ(rc.left, expected.x);
    // A menu that would run off the bottom of the screen is moved up by the system.
    EXPECT_TRUE(rc.top == expected.y || rc.bottom <= GetSystemMetrics(SM_CYSCREEN)) << rc.top;
    std::string items;
    for (const std::string& item : tray::menuItems(bar_, menu))
        items += item + "|";
    EXPECT_EQ(items, "IE windows list|-|New Internet Explorer window|-|Hide/restore Corvane!|-|"
                     "Minimize all browser windows|Close all browser windows|-|Preferences|-|Exit|-|"
                     "About Corvane!|");
    kit::leftUp();
    kit::pressKey(VK_ESCAPE);
    EXPECT_TRUE(kit::waitFor([] { return tray::popupMenu() == nullptr; }));
    // Holding is not a click: the browser was not started.
    kit::settle(300);
    EXPECT_EQ(tray::windowTitled("probe hold"), nullptr);
}

TEST_F(Tray, AQuickClickOnNewBrowserRunsTheBrowserCommand) {
    useProbeAsBrowser("probe click");
    start();
    ASSERT_TRUE(tray::pressAndRelease(GetDlgItem(bar_, 245)));
    EXPECT_TRUE(kit::waitFor([] { return tray::windowTitled("probe click") != nullptr; }, 8000));
    EXPECT_EQ(tray::popupMenu(), nullptr);
}

TEST_F(Tray, TheHideHotKeyHidesTheBarIntoTheTrayAndBringsItBack) {
    start();
    ASSERT_TRUE(docked());
    kit::pressKey(VK_SUBTRACT, kHideKeyMods);
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }));
    kit::pressKey(VK_SUBTRACT, kHideKeyMods);
    ASSERT_TRUE(kit::waitFor([&] { return docked(); }));
    RECT rc{};
    GetWindowRect(bar_, &rc);
    EXPECT_EQ(rc.top, 744);
    EXPECT_EQ(rc.bottom, 768);
}

TEST_F(Tray, TheNewBrowserHotKeyRunsTheCommandWhetherTheBarIsShownOrNot) {
    useProbeAsBrowser("probe hot key");
    start();
    kit::pressKey(VK_ADD, kHideKeyMods);
    ASSERT_TRUE(kit::waitFor([] { return tray::windowTitled("probe hot key") != nullptr; }, 8000));
    tray::closeWindowsTitled("probe hot key");
    kit::pressKey(VK_SUBTRACT, kHideKeyMods);
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }));
    kit::pressKey(VK_ADD, kHideKeyMods);
    EXPECT_TRUE(kit::waitFor([] { return tray::windowTitled("probe hot key") != nullptr; }, 8000));
}

TEST_F(Tray, TheHideButtonsHideAndTheTrayIconsLeftPressRestores) {
    start();
    for (int id : {230, 231}) {
        ASSERT_TRUE(tray::pressAndRelease(GetDlgItem(bar_, id))) << id;
        ASSERT_TRUE(kit::waitFor([&] { return inTray(); })) << id;
        // Releases and moves over the icon do nothing; the press restores.
        // Sent: each has been handled when the call returns.
        SendMessageA(bar_, kTrayNotify, 32771, WM_LBUTTONUP);
        SendMessageA(bar_, kTrayNotify, 32771, WM_MOUSEMOVE);
        EXPECT_TRUE(inTray());
        PostMessageA(bar_, kTrayNotify, 32771, WM_LBUTTONDOWN);
        ASSERT_TRUE(kit::waitFor([&] { return docked(); })) << id;
    }
}

TEST_F(Tray, TheTrayIconsRightPressOpensTheMenuAtTheCursorAndExitEndsTheProgram) {
    e2e::writeSetting("Hide into the system tray on start", 1);
    startInTray();
    EXPECT_FALSE(IsWindowVisible(bar_));
    EXPECT_FALSE(tray::bottomStripReserved());
    ASSERT_TRUE(kit::moveTo(300, 200));
    HWND menu = tray::openIconMenu(bar_);
    ASSERT_NE(menu, nullptr);
    RECT rc{};
    GetWindowRect(menu, &rc);
    EXPECT_EQ(rc.left, 300);
    EXPECT_EQ(rc.top, 200);
    // From the top, Up wraps to "About Corvane!", then "Exit". Shift is held: the menu's Exit ignores it.
    kit::pressKey(VK_UP);
    kit::pressKey(VK_UP);
    kit::holdShift(true);
    kit::pressKey(VK_RETURN);
    // Held until the bar has acted: released at once, it could be up before the bar looks at it.
    EXPECT_TRUE(proc_.waitExit(5000));
    kit::holdShift(false);
    EXPECT_EQ(proc_.exitCode(), 0u);
    EXPECT_FALSE(tray::iconPresent(bar_));
}

TEST_F(Tray, AMissingProgramGivesItsMessageAndNothingElse) {
    struct Case {
        std::string command;
        const char* message; // null: either of the two "not found" messages
    };
    const Case cases[] = {
        {"C:\\windows\\no-such-browser.exe -nohome", "The specified file was not found !"},
        // Wine answers a missing folder with "file not found" (2) where Windows says "path not found" (3).
        {"C:\\no-such-folder\\browser.exe", nullptr},
    };
    for (const Case& c : cases) {
        e2e::writeSetting("Internet Explorer path", c.command);
        start();
        PostMessageA(bar_, WM_COMMAND, 126, 0);
        HWND box = nullptr;
        ASSERT_TRUE(
            kit::waitFor([&] { return (box = tray::dialogOf(proc_.id(), core::kProgramName)) != nullptr; }));
        std::vector<std::string> texts = tray::staticTexts(box);
        ASSERT_FALSE(texts.empty());
        if (c.message) {
            EXPECT_EQ(texts.back(), c.message) << c.command;
        } else {
            EXPECT_TRUE(texts.back() == "The specified path was not found !" ||
                        texts.back() == "The specified file was not found !")
                << texts.back();
        }
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(box); }));
        // Nothing else: no second box, the bar stays docked and running. A second box would be up by the time
        // the bar answers, since its own loop would answer.
        SendMessageA(bar_, WM_NULL, 0, 0);
        EXPECT_EQ(tray::dialogOf(proc_.id(), core::kProgramName), nullptr);
        EXPECT_TRUE(docked());
        ASSERT_TRUE(e2e::closeBar(proc_, bar_));
        bar_ = nullptr;
    }
}

TEST_F(Tray, TheAboutBoxShowsTheProgramAndClosesWithOk) {
    start();
    PostMessageA(bar_, WM_COMMAND, 121, 0);
    HWND box = nullptr;
    ASSERT_TRUE(
        kit::waitFor([&] { return (box = tray::dialogOf(proc_.id(), "About Corvane!")) != nullptr; }));
    std::vector<std::string> texts = tray::staticTexts(box);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "Corvane! v1.21.2");
    HWND ok = GetDlgItem(box, IDOK);
    char caption[16] = {};
    GetWindowTextA(ok, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Ok");
    // Modal and owned by the bar: the bar is disabled meanwhile.
    EXPECT_EQ(GetWindow(box, GW_OWNER), bar_);
    EXPECT_FALSE(IsWindowEnabled(bar_));
    kit::click(centreOf(ok));
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindowEnabled(bar_));
}

TEST_F(Tray, StartingInTheTrayLaunchesNothingAndStartingDockedLaunchesTheBrowserWhenAsked) {
    useProbeAsBrowser("probe at start");
    e2e::writeSetting("Open default browser on start", 1);
    e2e::writeSetting("Hide into the system tray on start", 1);
    startInTray();
    EXPECT_TRUE(inTray());
    kit::settle(500);
    EXPECT_EQ(tray::windowTitled("probe at start"), nullptr);
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));
    EXPECT_FALSE(tray::iconPresent(bar_)) << "the icon outlived the bar";

    e2e::writeSetting("Hide into the system tray on start", 0);
    start();
    EXPECT_TRUE(kit::waitFor([] { return tray::windowTitled("probe at start") != nullptr; }, 8000));
}

TEST_F(Tray, TheAutohideTimerHidesTheBarOnce) {
    start();
    PostMessageA(bar_, WM_TIMER, 32768, 0);
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }));
    // Other timers of the bar do nothing of the kind.
    PostMessageA(bar_, WM_COMMAND, 125, 0);
    ASSERT_TRUE(kit::waitFor([&] { return docked(); }));
    SendMessageA(bar_, WM_TIMER, 12345, 0);
    EXPECT_TRUE(docked());
}

TEST_F(Tray, ANewTaskbarGetsTheIconBackOnlyWhileTheBarIsInTheTray) {
    start();
    UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    SendMessageTimeoutA(bar_, taskbarCreated, 0, 0, SMTO_BLOCK, 3000, nullptr);
    EXPECT_FALSE(tray::iconPresent(bar_));
    PostMessageA(bar_, WM_COMMAND, 125, 0);
    ASSERT_TRUE(kit::waitFor([&] { return inTray(); }));
    tray::dropIcon(bar_);
    ASSERT_FALSE(tray::iconPresent(bar_));
    SendMessageTimeoutA(bar_, taskbarCreated, 0, 0, SMTO_BLOCK, 3000, nullptr);
    EXPECT_TRUE(tray::iconPresent(bar_));
}

} // namespace
