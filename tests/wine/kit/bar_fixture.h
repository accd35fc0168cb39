// The real bar with browser windows of the test process, seen on the screen and used with the mouse.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "kit/bar.h"
#include "kit/browsers.h"
#include "kit/tray.h"

namespace e2e {

constexpr COLORREF kDefaultActive = RGB(248, 227, 185);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kLight = RGB(192, 192, 192);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The bar's client area, captured from the screen.
class BarShot {
  public:
    explicit BarShot(HWND bar) {
        GetClientRect(bar, &client_);
        POINT origin = e2e::clientToScreen(bar, {0, 0});
        RECT screen{origin.x, origin.y, origin.x + client_.right, origin.y + client_.bottom};
        px_ = kit::screenPixels(screen);
    }
    COLORREF at(int x, int y) const {
        if (x < 0 || y < 0 || x >= client_.right || y >= client_.bottom) return CLR_INVALID;
        return px_[static_cast<size_t>(y) * static_cast<size_t>(client_.right) + static_cast<size_t>(x)];
    }
    int width() const { return client_.right; }
    int height() const { return client_.bottom; }
    bool operator==(const BarShot& other) const { return px_ == other.px_; }

  private:
    RECT client_{};
    std::vector<COLORREF> px_;
};

struct Button {
    int left;
    int right;
    static constexpr int top = 3;
    static constexpr int bottom = 21;
};

// Up to five buttons are 160 wide on a 1024-pixel bar, 162 apart from x = 54.
Button button(int index) {
    return {54 + 162 * index, 54 + 162 * index + 160};
}

// The real bar program: each test starts it afresh, without settings, and closes it.
class BarProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        e2e::deleteSettingsKey();
        ASSERT_EQ(e2e::findBar(), nullptr) << "a bar from an earlier test is still running";
    }
    void TearDown() override {
        if (bar_ && IsWindow(bar_)) e2e::closeBar(proc_, bar_);
        proc_.kill();
        e2e::deleteSettingsKey();
    }
    void start() { ASSERT_TRUE(e2e::startBar(proc_, &bar_)); }

    kit::Process proc_;
    HWND bar_ = nullptr;
};

// For a bar built to fail on purpose (freed memory taken away, a crash on request): a fault ends its process
// with its code instead of holding it behind Wine's crash dialog. The stand-in taskbar is up before it
// starts.
class FaultingBarTest : public BarProgramTest {
  protected:
    void SetUp() override {
        DWORD noDialog = 0;
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", "ShowCrashDialog", REG_DWORD, &noDialog,
                        sizeof(noDialog));
        BarProgramTest::SetUp();
        ASSERT_TRUE(e2e::ensureStandInTaskbar());
    }
};

class BarTest : public BarProgramTest {
  protected:
    void SetUp() override {
        BarProgramTest::SetUp();
        e2e::writeSetting("Maximize browser windows", 0);
    }
    void TearDown() override {
        // A test that failed while holding Shift must not leave it down for the next one.
        kit::holdShift(false);
        BarProgramTest::TearDown();
    }
    // Without the stand-in taskbar, the bar meets only the platform's own.
    void start(bool standInTaskbar = true) {
        ASSERT_TRUE(e2e::startBar(proc_, &bar_, 10000, standInTaskbar));
        browsers_.setBar(bar_);
    }
    // Opens windows before the bar starts. Each opens in front of the ones before, and the front-most ends up
    // last on the bar: the buttons come in the order of opening.
    std::vector<HWND> openBefore(const std::vector<std::string>& titles) {
        std::vector<HWND> out;
        for (const std::string& t : titles)
            out.push_back(browsers_.open(t, "IEFrame", false, 100 + 20 * static_cast<int>(out.size())));
        return out;
    }
    // Opens the windows, starts the bar, waits for their buttons and, when asked, marks one window active.
    std::vector<HWND> startWith(const std::vector<std::string>& titles, int active = -1) {
        std::vector<HWND> w = openBefore(titles);
        start();
        EXPECT_TRUE(waitTools(static_cast<int>(titles.size())));
        if (active >= 0) {
            EXPECT_EQ(e2e::shellEvent(bar_, w[static_cast<size_t>(active)], e2e::kActivated), 1);
            EXPECT_TRUE(waitSunken(active));
        }
        return w;
    }
    bool waitTools(int n) {
        return kit::waitFor([&] { return e2e::toolCount(bar_) == n; });
    }
    // Waits until the bar on the screen satisfies the condition.
    template <class Check> bool waitShot(Check check) {
        return kit::waitFor([&] { return check(BarShot(bar_)); }, 3000);
    }
    bool waitSunken(int index) {
        return waitShot(
            [&](const BarShot& s) { return s.at(button(index).left, 10) == GetSysColor(COLOR_BTNSHADOW); });
    }
    bool waitRaised(int index) {
        return waitShot([&](const BarShot& s) {
            return s.at(button(index).left, 10) == GetSysColor(COLOR_BTNHIGHLIGHT);
        });
    }
    POINT at(int index, int dx = 30, int dy = 12) {
        return e2e::clientToScreen(bar_, {button(index).left + dx, dy});
    }
    POINT glyph(int index) { return e2e::clientToScreen(bar_, {button(index).right - 6, Button::top + 5}); }
    HWND neutral() {
        if (!neutral_) neutral_ = browsers_.open("Neutral", "CorvaneTestOther", false, 600, 300);
        return neutral_;
    }

    e2e::TestBrowsers browsers_;
    HWND neutral_ = nullptr;
};

// For tests of the bar's menus: the pointer starts away from the bar, and no menu outlives its test.
class MenuBarTest : public BarTest {
  protected:
    void SetUp() override {
        BarTest::SetUp();
        kit::moveTo(700, 500);
    }
    void TearDown() override {
        if (HWND menu = tray::popupMenu()) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        BarTest::TearDown();
    }
};

} // namespace e2e
