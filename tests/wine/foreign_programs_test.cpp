// The bar beside programs it did not write and cannot trust: Wine's own browser, which shows its frame only
// after creating it, programs stopped dead (a Unix SIGSTOP), which answer nothing at all, and the icons of
// other programs' windows, which Wine hands over only through their program files.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/bar_commands.h"
#include "core/button_layout.h"
#include "kit/bar_fixture.h"
#include "kit/browsers.h"
#include "kit/standin.h"
#include "kit/tray.h"
#include "tools/standin-taskbar/standin_taskbar.h"

namespace {

// How long a command to the bar may take while a browser does not answer.
constexpr DWORD kPromptMs = 1000;

class ForeignPrograms : public e2e::BarTest {
  protected:
    void TearDown() override {
        // Whatever failed, nothing stays stopped for the tests after this one.
        standin::signalProgram("corvane.exe", "CONT");
        standin::signalProgram("cv-browser.exe", "CONT");
        standin::signalProgram("cv-red-browser.exe", "CONT");
        e2e::BarTest::TearDown();
    }
    bool barAnswers(DWORD timeoutMs) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(bar_, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
    }
    void command(int id) { PostMessageA(bar_, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    // The red pixels where button `index` shows its window's icon.
    static int redInIconPlace(const e2e::BarShot& shot, int index) {
        const e2e::Button b = e2e::button(index);
        const core::Rect icon = core::iconRect({b.left, b.top, b.right, b.bottom});
        int red = 0;
        for (int y = icon.top; y < icon.bottom; ++y)
            for (int x = icon.left; x < icon.right; ++x)
                red += shot.at(x, y) == RGB(255, 0, 0);
        return red;
    }
    static bool sameButtons(const e2e::BarShot& shot, int a, int b) {
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < e2e::button(a).right - e2e::button(a).left; ++x)
                if (shot.at(e2e::button(a).left + x, y) != shot.at(e2e::button(b).left + x, y)) return false;
        return true;
    }
};

TEST_F(ForeignPrograms, WineInternetExplorerOpenedAfterTheBarShowsMaximisedWithItsButtonAndClosesCleanly) {
    e2e::deleteSettingsKey(); // every setting at its default: new browser windows are maximised
    start();
    kit::Process ie;
    ASSERT_TRUE(ie.start("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome"));
    HWND frame = nullptr;
    ASSERT_TRUE(kit::waitFor(
        [&] {
            return (frame = FindWindowA("IEFrame", nullptr)) && IsWindowVisible(frame) && IsZoomed(frame);
        },
        30000));
    EXPECT_TRUE(waitTools(1));
    // It stays: neither hidden again nor ended in the seconds after it was placed.
    EXPECT_FALSE(kit::waitFor([&] { return !IsWindowVisible(frame) || !ie.running(); }, 3000));
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    SendMessageA(tray, standin::kSync, 1, 0);
    EXPECT_TRUE(kit::waitFor(
        [&] { return !SendMessageA(tray, standin::kHasItem, reinterpret_cast<WPARAM>(frame), 0); }));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitTools(0));
    EXPECT_TRUE(ie.waitExit(15000));
}

TEST_F(ForeignPrograms, AStoppedBarHoldsNoProgramAndListsExactlyTheBrowsersThatExistOnceResumed) {
    start();
    kit::Process before, plain, late;
    HWND gone = standin::openBrowser(before, "--title Before");
    ASSERT_TRUE(gone && waitTools(1));
    ASSERT_TRUE(standin::signalProgram("corvane.exe", "STOP"));
    ASSERT_FALSE(barAnswers(300)) << "the bar is not stopped";

    const DWORD start = GetTickCount();
    ASSERT_NE(standin::openBrowser(plain, "--class CorvanePlainWindow --title Plain"), nullptr);
    EXPECT_TRUE(plain.close(10000));
    HWND browser = standin::openBrowser(late, "--title Late");
    EXPECT_NE(browser, nullptr);
    EXPECT_TRUE(before.close(10000));
    EXPECT_LT(GetTickCount() - start, 10000u) << "programs were held by the stopped bar";

    ASSERT_TRUE(standin::signalProgram("corvane.exe", "CONT"));
    // One entry, and it is the late browser's: it goes with that window.
    EXPECT_TRUE(waitTools(1));
    EXPECT_TRUE(late.close(10000));
    EXPECT_TRUE(waitTools(0));
}

TEST_F(ForeignPrograms, AStoppedBrowserCannotHoldTheBarFromItsCommands) {
    e2e::writeSetting("Hide browsers when Corvane! hides", 1);
    start();
    kit::Process browser;
    HWND window = standin::openBrowser(browser, "--title Stopped");
    ASSERT_TRUE(window && waitTools(1));
    ASSERT_TRUE(standin::signalProgram("cv-browser.exe", "STOP"));

    command(core::ID_MENU_MINIMIZE_ALL);
    command(core::ID_MENU_CLOSE_ALL);
    kit::click(at(0));
    command(core::windowListCommand(0));
    command(core::ID_MENU_HIDE_RESTORE);
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindowVisible(bar_); }, kPromptMs)) << "hide";
    command(core::ID_MENU_HIDE_RESTORE); // restoring brings every browser forward
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) != 0; }, kPromptMs)) << "restore";
    command(core::ID_MENU_ABOUT);
    HWND about = nullptr; // the bar's modal About box
    kit::waitFor([&] { return (about = tray::dialogOf(proc_.id(), nullptr)) != nullptr; }, kPromptMs);
    EXPECT_NE(about, nullptr) << "About";
    if (about) PostMessageA(about, WM_COMMAND, IDOK, 0);

    // Resumed, the browser carries out what it was asked, the close among it.
    ASSERT_TRUE(standin::signalProgram("cv-browser.exe", "CONT"));
    EXPECT_TRUE(browser.waitExit(10000));
    EXPECT_TRUE(waitTools(0));
}

// Two windows titled alike, one of a program whose file carries a solid red icon: with icons on, only its
// button shows the icon, whole; with them off, the two buttons are the same pixels.
TEST_F(ForeignPrograms, AProgramFilesIconShowsOnItsButtonAndWithIconsOffTheButtonsAreAsBefore) {
    kit::Process red, plain;
    ASSERT_NE(standin::openBrowser(red, "--title Same", "cv-red-browser.exe"), nullptr);
    ASSERT_NE(standin::openBrowser(plain, "--title Same"), nullptr);
    for (bool shown : {true, false}) {
        SCOPED_TRACE(shown ? "icons on" : "icons off");
        e2e::writeSetting("Show window icons", shown ? 1 : 0);
        start();
        ASSERT_TRUE(waitTools(2));
        if (shown) {
            EXPECT_TRUE(waitShot([](const e2e::BarShot& s) { return redInIconPlace(s, 0) == 16 * 16; }));
            const e2e::BarShot shot(bar_);
            EXPECT_EQ(redInIconPlace(shot, 1), 0);
            EXPECT_FALSE(sameButtons(shot, 0, 1));
        } else {
            EXPECT_TRUE(waitShot([](const e2e::BarShot& s) { return sameButtons(s, 0, 1); }));
        }
        ASSERT_TRUE(e2e::closeBar(proc_, bar_));
    }
}

// A window whose program is stopped answers nothing (Wine would not pass it the bar's asking for its icon
// either): the program file's icon stands in, and the bar goes on with its commands meanwhile, the window's
// retitling among them.
TEST_F(ForeignPrograms, AStoppedProgramsWindowShowsItsFilesIconAndCannotHoldTheBar) {
    kit::Process red;
    HWND window = standin::openBrowser(red, "--title Stopped", "cv-red-browser.exe");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(standin::signalProgram("cv-red-browser.exe", "STOP"));
    start();
    ASSERT_TRUE(waitTools(1));
    EXPECT_TRUE(waitShot([](const e2e::BarShot& s) { return redInIconPlace(s, 0) == 16 * 16; }));
    const DWORD before = GetTickCount();
    EXPECT_EQ(e2e::shellEvent(bar_, window, e2e::kRetitled), 1);
    EXPECT_LT(GetTickCount() - before, kPromptMs) << "retitled";
    command(core::ID_MENU_HIDE_RESTORE);
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindowVisible(bar_); }, kPromptMs)) << "hide";
    command(core::ID_MENU_HIDE_RESTORE);
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) != 0; }, kPromptMs)) << "restore";
    EXPECT_TRUE(waitShot([](const e2e::BarShot& s) { return redInIconPlace(s, 0) == 16 * 16; }));
    ASSERT_TRUE(standin::signalProgram("cv-red-browser.exe", "CONT"));
}

} // namespace
