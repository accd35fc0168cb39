// The picture button on real windows, with the real strips and real pointer input.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <memory>
#include <tuple>
#include <vector>

#include "controls/hover_button.h"
#include "kit/input.h"
#include "kit/pixels.h"
#include "kit/wait.h"
#include "resources/resource.h"
#include "win/handle.h"

namespace {

using controls::CHoverButton;

constexpr const char* kParentClass = "CorvaneHoverTestParent";

// The parent: records what reaches it (the buttons draw themselves by reflection).
class Parent : public win::Window {
  public:
    // The timer's id and parameter, and whether the button still showed itself pushed meanwhile.
    using Timer = std::tuple<WPARAM, LPARAM, bool>;
    std::vector<Timer> timers;
    std::vector<WPARAM> commands;
    HWND watched = nullptr;

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_TIMER: {
            bool held = watched && (SendMessageA(watched, BM_GETSTATE, 0, 0) & BST_PUSHED);
            timers.push_back({wParam, lParam, held});
            return 0;
        }
        case WM_COMMAND:
            commands.push_back(wParam);
            return 0;
        default:
            return defaultProc(msg, wParam, lParam);
        }
    }
};

// A strip as the button loads it, from this program's resources.
kit::Strip loadStrip(WORD id) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    return kit::loadStrip(self, id);
}

using Box = std::array<LONG, 4>; // left, top, right, bottom

RECT rectOf(HWND w) {
    RECT rc{};
    GetWindowRect(w, &rc);
    return rc;
}

class HoverButton : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        win::Window::registerClass(GetModuleHandleA(nullptr), kParentClass, 0,
                                   LoadCursorA(nullptr, IDC_ARROW),
                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    }
    void SetUp() override {
        // Every message this thread takes from its queue reaches the buttons first, as in the program's loop,
        // whoever pumps it: the input kit pumps too while it waits for the pointer to arrive.
        current_ = this;
        relay_.reset(SetWindowsHookExA(WH_GETMESSAGE, relay, nullptr, GetCurrentThreadId()));
        ASSERT_TRUE(relay_);
        ASSERT_TRUE(parent_.create(WS_EX_TOPMOST, kParentClass, "hover test", WS_POPUP | WS_VISIBLE, 100, 100,
                                   300, 60, nullptr, nullptr, GetModuleHandleA(nullptr)));
        kit::moveTo(700, 600);
    }
    void TearDown() override {
        kit::leftUp();
        newButton_.reset();
        other_.reset();
        DestroyWindow(parent_.hwnd());
        relay_.reset();
        current_ = nullptr;
    }

    static LRESULT CALLBACK relay(int code, WPARAM removing, LPARAM lParam) {
        const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && removing == PM_REMOVE && current_)
            for (auto* b : {current_->newButton_.get(), current_->other_.get()})
                if (b && msg.hwnd == b->hwnd()) b->PreTranslateMessage(msg);
        return CallNextHookEx(nullptr, code, removing, lParam);
    }

    std::unique_ptr<CHoverButton> makeButton(int id, RECT rc, WORD bitmap, bool hold, const char* tip) {
        auto b = std::make_unique<CHoverButton>();
        EXPECT_TRUE(b->Create("caption", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rc, parent_.hwnd(), id));
        b->m_bMenuOnHold = hold;
        EXPECT_TRUE(b->SetStripBitmap(bitmap));
        b->SetToolTipText(tip, TRUE);
        return b;
    }
    void makeNewBrowserButton() {
        newButton_ = makeButton(245, RECT{32, 3, 50, 21}, IDB_NEW_BROWSER_STRIP, true, "New browser window");
        parent_.watched = newButton_->hwnd();
        UpdateWindow(parent_.hwnd());
    }
    // Puts the pointer on the button's centre and lets the button see it; returns that point.
    POINT pointAt(HWND w) {
        const RECT rc = rectOf(w);
        const POINT c{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        EXPECT_TRUE(kit::moveTo(c));
        kit::settle(50);
        return c;
    }
    // Presses the left button on the button's centre for `ms` and answers the parent's first command.
    WPARAM pressFor(HWND w, DWORD ms) {
        pointAt(w);
        kit::leftDown();
        kit::settle(ms);
        kit::leftUp();
        EXPECT_TRUE(kit::waitFor([&] { return !parent_.commands.empty(); }));
        return parent_.commands.empty() ? 0 : parent_.commands[0];
    }
    Box placeInParent(HWND w) {
        RECT rc = rectOf(w);
        MapWindowPoints(nullptr, parent_.hwnd(), reinterpret_cast<POINT*>(&rc), 2);
        return {rc.left, rc.top, rc.right, rc.bottom};
    }

    // The window system may show a change a little later than the button paints it.
    bool showsFrame(const kit::Strip& strip, int frame) {
        const RECT rc = rectOf(newButton_->hwnd());
        return kit::waitFor([&] { return kit::differingPixels(rc.left, rc.top, strip, frame) == 0; }, 1500);
    }

    Parent parent_;
    std::unique_ptr<CHoverButton> newButton_, other_;
    win::Hook relay_;
    static inline HoverButton* current_ = nullptr;
};

TEST_F(HoverButton, TheStripSizesTheButtonToOneFrameWithoutMovingIt) {
    makeNewBrowserButton();
    EXPECT_EQ(placeInParent(newButton_->hwnd()), (Box{32, 3, 50, 21}));

    other_ = makeButton(218, RECT{0, 0, 0, 0}, IDB_CLOSE_STRIP, false, "Close");
    EXPECT_EQ(placeInParent(other_->hwnd()), (Box{0, 0, 12, 12}));
    EXPECT_EQ(other_->frameWidth(), 12);

    // The hide strip has the same size; a strip that does not exist leaves the size alone.
    EXPECT_TRUE(other_->SetStripBitmap(IDB_HIDE_STRIP));
    EXPECT_FALSE(other_->SetStripBitmap(999));
    EXPECT_EQ(placeInParent(other_->hwnd()), (Box{0, 0, 12, 12}));
    char text[64] = {};
    GetWindowTextA(newButton_->hwnd(), text, sizeof(text));
    EXPECT_STREQ(text, "caption");
}

TEST_F(HoverButton, TheStripsHaveTheirSizesAndDistinctFrames) {
    for (auto [id, w, h] : {std::tuple<WORD, LONG, LONG>{IDB_NEW_BROWSER_STRIP, 54, 18},
                            {IDB_CLOSE_STRIP, 36, 12},
                            {IDB_HIDE_STRIP, 36, 12}}) {
        win::Bitmap raw(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_TRUE(raw) << id;
        DIBSECTION ds{};
        GetObjectA(raw.get(), sizeof(ds), &ds);
        EXPECT_EQ((Box{ds.dsBm.bmWidth, ds.dsBm.bmHeight, ds.dsBmih.biBitCount}), (Box{w, h, 8})) << id;

        kit::Strip s = loadStrip(id);
        ASSERT_EQ(s.width, w) << id;
        // Brightness of each frame: pressed darker, hover lighter than normal.
        long sum[3] = {};
        for (size_t i = 0; i < s.pixels.size(); ++i)
            sum[(i % w) / (w / 3)] +=
                GetRValue(s.pixels[i]) + GetGValue(s.pixels[i]) + GetBValue(s.pixels[i]);
        EXPECT_LT(sum[1], sum[0]) << id;
        EXPECT_GT(sum[2], sum[0]) << id;
    }
}

TEST_F(HoverButton, HoverShowsTheHoverFramePressingWinsAndLeavingGivesTheNormalFrameBack) {
    makeNewBrowserButton();
    kit::Strip strip = loadStrip(IDB_NEW_BROWSER_STRIP);
    EXPECT_TRUE(showsFrame(strip, 0));

    // A move delivered after the pointer left (one replayed for a window that appeared under the pointer's
    // old place) must not keep the next visit from hovering.
    PostMessageA(newButton_->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(9, 9));
    kit::settle(50);
    EXPECT_FALSE(newButton_->hovering());
    POINT c = pointAt(newButton_->hwnd());
    ASSERT_TRUE(kit::waitFor([&] { return newButton_->hovering(); }, 2000));
    EXPECT_TRUE(showsFrame(strip, 2));

    // Pressed while hovered: the pressed frame.
    kit::leftDown();
    ASSERT_TRUE(kit::waitFor(
        [&] { return (SendMessageA(newButton_->hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }));
    EXPECT_TRUE(showsFrame(strip, 1));
    kit::leftUp();
    EXPECT_TRUE(showsFrame(strip, 2));

    ASSERT_TRUE(kit::moveTo(c.x + 100, c.y + 100));
    ASSERT_TRUE(kit::waitFor([&] { return !newButton_->hovering(); }, 2000));
    EXPECT_TRUE(showsFrame(strip, 0));

    // Tracking is armed again by the next visit.
    ASSERT_TRUE(kit::moveTo(c.x, c.y));
    EXPECT_TRUE(kit::waitFor([&] { return newButton_->hovering(); }, 2000));
}

TEST_F(HoverButton, HoldingTheButtonSendsOneTimerToTheParentWhileItIsStillHeld) {
    makeNewBrowserButton();
    pointAt(newButton_->hwnd());
    DWORD pressed = GetTickCount();
    kit::leftDown();
    ASSERT_TRUE(kit::waitFor([&] { return !parent_.timers.empty(); }, 2000));
    DWORD elapsed = GetTickCount() - pressed;
    EXPECT_GE(elapsed, 180u);
    EXPECT_LT(elapsed, 1000u);
    EXPECT_EQ(parent_.timers[0], (Parent::Timer{CHoverButton::HOLD_TIMER_ID, 0, true}));
    // Killed once the parent returned: holding on sends nothing more.
    kit::settle(600);
    EXPECT_EQ(parent_.timers.size(), 1u);
    kit::leftUp();
    kit::settle(50);
}

TEST_F(HoverButton, AQuickClickIsAnOrdinaryClickWithoutATimer) {
    makeNewBrowserButton();
    EXPECT_EQ(pressFor(newButton_->hwnd(), 30), MAKEWPARAM(245, BN_CLICKED));
    kit::settle(400);
    EXPECT_TRUE(parent_.timers.empty());
}

TEST_F(HoverButton, AButtonWithoutTheHoldBehaviourNeverStartsATimer) {
    other_ = makeButton(230, RECT{100, 3, 100, 3}, IDB_HIDE_STRIP, false, "Hide in tray");
    EXPECT_EQ(pressFor(other_->hwnd(), 500), MAKEWPARAM(230, BN_CLICKED));
    EXPECT_TRUE(parent_.timers.empty());
}

TEST_F(HoverButton, TheToolTipHasOneToolWhateverTheNumberOfTexts) {
    makeNewBrowserButton();
    // The tip has no window until the pointer first reaches the button; its text is kept meanwhile.
    EXPECT_EQ(newButton_->toolTipWindow(), nullptr);
    EXPECT_EQ(newButton_->toolTipText(), "New browser window");
    pointAt(newButton_->hwnd());
    HWND tip = newButton_->toolTipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tip, TTM_GETTIPBKCOLOR, 0, 0)), 0x00B9E3F8u);
    RECT margins{};
    SendMessageA(tip, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    EXPECT_EQ((Box{margins.left, margins.top, margins.right, margins.bottom}), (Box{4, 2, 4, 2}));
    EXPECT_EQ(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 400);
    EXPECT_TRUE(GetWindowLongPtrA(tip, GWL_STYLE) & TTS_ALWAYSTIP);

    newButton_->SetToolTipText("second text", TRUE);
    newButton_->SetToolTipText(nullptr, FALSE); // changes nothing
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[80] = {};
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = newButton_->hwnd();
    ti.uId = 1;
    ti.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(text, "second text");
    ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(ti.uFlags, 0u);
    EXPECT_EQ((Box{ti.rect.left, ti.rect.top, ti.rect.right, ti.rect.bottom}), (Box{0, 0, 18, 18}));
}

TEST_F(HoverButton, TheToolTipShowsOnHoverOnlyWhenActive) {
    makeNewBrowserButton();
    newButton_->SetToolTipText("quiet", FALSE);
    POINT c = pointAt(newButton_->hwnd());
    HWND tip = newButton_->toolTipWindow();
    ASSERT_NE(tip, nullptr);
    kit::moveTo(c.x + 1, c.y);
    EXPECT_FALSE(kit::waitFor([&] { return IsWindowVisible(tip) != FALSE; }, 1500));

    kit::moveTo(c.x + 150, c.y + 150);
    kit::settle(200);
    newButton_->SetToolTipText("New browser window", TRUE);
    kit::moveTo(c.x, c.y);
    kit::moveTo(c.x + 1, c.y);
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(tip) != FALSE; }, 3000));
    char text[80] = {};
    GetWindowTextA(tip, text, sizeof(text));
    EXPECT_STREQ(text, "New browser window");
}

} // namespace
