// The browser buttons as the user sees and uses them: the pixels of the real bar on the screen, and real
// mouse input.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "kit/bar_fixture.h"
#include "kit/tray.h"

namespace {

using namespace e2e;

using Buttons = BarTest;

enum class Edge { Raised, Sunken };

void expectEdge(const BarShot& shot, const Button& b, Edge edge) {
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    COLORREF topLeft = edge == Edge::Raised ? light : dark;
    COLORREF bottomRight = edge == Edge::Raised ? dark : light;
    int mid = (Button::top + Button::bottom) / 2;
    EXPECT_EQ(shot.at(b.left, mid), topLeft) << "left edge at " << b.left;
    EXPECT_EQ(shot.at(b.left + 80, Button::top), topLeft) << "top edge at " << b.left;
    EXPECT_EQ(shot.at(b.right - 1, mid), bottomRight) << "right edge at " << b.left;
    EXPECT_EQ(shot.at(b.left + 80, Button::bottom - 1), bottomRight) << "bottom edge at " << b.left;
}

// The close glyph, pixel by pixel, with its top-left corner at (x, y).
void expectGlyph(const BarShot& shot, int x, int y) {
    const struct {
        int dx, dy;
        COLORREF colour;
    } pixels[] = {{0, 0, kWhite}, {7, 0, kWhite}, {8, 0, kGrey}, {0, 4, kWhite}, {1, 1, kLight},
                  {4, 1, kLight}, {8, 4, kGrey},  {4, 8, kGrey}, {3, 2, kLight}, {4, 6, kLight}};
    for (const auto& p : pixels)
        EXPECT_EQ(shot.at(x + p.dx, y + p.dy), p.colour) << p.dx << "," << p.dy;
    for (int i = 2; i <= 6; ++i) {
        EXPECT_EQ(shot.at(x + i, y + i), kBlack) << i;
        EXPECT_EQ(shot.at(x + 8 - i, y + i), kBlack) << i;
    }
}

bool hasGlyph(const BarShot& shot, const Button& b) {
    int x = b.right - 11;
    int y = Button::top + 2;
    return shot.at(x + 4, y + 4) == kBlack && shot.at(x, y) == kWhite;
}

TEST_F(Buttons, FourButtonsSitAtTheLayoutPositionsAndTheActiveOneIsSunkenWithTheGlyph) {
    std::vector<HWND> w = startWith({"A", "B", "C", "D"});
    ASSERT_TRUE(waitRaised(3));
    {
        BarShot shot(bar_);
        EXPECT_EQ(shot.width(), 1024);
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        // The bar's own raised edge.
        EXPECT_EQ(shot.at(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(shot.at(1023, 23), GetSysColor(COLOR_BTNSHADOW));
        for (int i = 0; i < 4; ++i) {
            expectEdge(shot, button(i), Edge::Raised);
            EXPECT_EQ(shot.at(button(i).left + 2, 5), face);
            EXPECT_FALSE(hasGlyph(shot, button(i))) << i;
            // The gap between buttons is the bar's background.
            EXPECT_EQ(shot.at(button(i).right, 10), face);
            EXPECT_EQ(shot.at(button(i).right + 1, 10), face);
        }
        EXPECT_EQ(shot.at(button(4).left, 10), face) << "a fifth button where there are four windows";
    }

    EXPECT_EQ(e2e::shellEvent(bar_, w[2], e2e::kActivated), 1);
    ASSERT_TRUE(waitSunken(2));
    BarShot shot(bar_);
    expectEdge(shot, button(2), Edge::Sunken);
    EXPECT_EQ(shot.at(button(2).left + 2, 5), kDefaultActive);
    EXPECT_EQ(shot.at(button(2).right - 3, Button::bottom - 3), kDefaultActive);
    expectGlyph(shot, button(2).right - 11, Button::top + 2);
    // Outside its 9 x 9 pixels the glyph's icon is transparent.
    EXPECT_EQ(shot.at(button(2).right - 2, Button::top + 12), kDefaultActive);
    EXPECT_EQ(shot.at(button(2).right - 12, Button::top + 3), kDefaultActive);
    for (int i : {0, 1, 3}) {
        expectEdge(shot, button(i), Edge::Raised);
        EXPECT_FALSE(hasGlyph(shot, button(i))) << i;
    }

    // Another window becomes active: the marker goes.
    EXPECT_EQ(e2e::shellEvent(bar_, neutral(), e2e::kActivated), 0);
    EXPECT_TRUE(waitRaised(2));
}

TEST_F(Buttons, ColoursAndGlyphsFollowTheSettings) {
    e2e::writeSetting("Bar background color", RGB(20, 40, 60));
    e2e::writeSetting("Active button color", RGB(200, 10, 10));
    e2e::writeSetting("only on active IE button", 0);
    std::vector<HWND> w = startWith({"A", "B"}, 0);
    BarShot shot(bar_);
    EXPECT_EQ(shot.at(button(0).left + 2, 5), RGB(200, 10, 10));
    EXPECT_EQ(shot.at(button(1).left + 2, 5), RGB(20, 40, 60));
    EXPECT_EQ(shot.at(600, 10), RGB(20, 40, 60));
    EXPECT_TRUE(hasGlyph(shot, button(0)));
    EXPECT_TRUE(hasGlyph(shot, button(1)));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));

    e2e::writeSetting("Show close button on IE buttons", 0);
    start();
    EXPECT_EQ(e2e::shellEvent(bar_, w[0], e2e::kActivated), 1);
    ASSERT_TRUE(waitSunken(0));
    BarShot plain(bar_);
    EXPECT_FALSE(hasGlyph(plain, button(0)));
    EXPECT_FALSE(hasGlyph(plain, button(1)));
}

// The pixels of a button's text, compared with the same text drawn here with the bar's flags and font.
void expectButtonText(HWND bar, int index, const std::string& expected) {
    const RECT text{button(index).left + 4, Button::top, button(index).right - 3, Button::bottom};
    EXPECT_TRUE(buttonTextDrawnAs(bar, text, expected, "MS Sans Serif", -11))
        << "button " << index << " does not read \"" << expected << "\"";
}

const std::string kLongTitle =
    "A page with a title far too long for any button on the bar, which the tool tip shows whole";

TEST_F(Buttons, TitlesLoseTheBrowserSuffixKeepAmpersandsAndEndInAnEllipsis) {
    startWith({"News - Microsoft Internet Explorer", "Tom & Jerry", kLongTitle});
    expectButtonText(bar_, 0, "News");
    expectButtonText(bar_, 1, "Tom & Jerry");
    expectButtonText(bar_, 2, kLongTitle);
    // The same text without the end ellipsis would draw differently: the check can fail.
    std::vector<COLORREF> cut = kit::renderButtonText(kLongTitle, {153, 18}, GetSysColor(COLOR_BTNFACE), 0);
    std::vector<COLORREF> none =
        kit::renderButtonText("Tom  Jerry", {153, 18}, GetSysColor(COLOR_BTNFACE), 0);
    EXPECT_NE(cut, none);
}

TEST_F(Buttons, ARetitledWindowsButtonShowsItsNewTitle) {
    std::vector<HWND> w = startWith({"Old"});
    expectButtonText(bar_, 0, "Old");
    SetWindowTextA(w[0], "Fresh - Microsoft Internet Explorer");
    EXPECT_EQ(e2e::shellEvent(bar_, w[0], e2e::kRetitled), 1);
    expectButtonText(bar_, 0, "Fresh");
}

TEST_F(Buttons, TheToolTipShowsTheWholeTitle) {
    startWith({"Short", kLongTitle});
    HWND tips = e2e::barToolTips(bar_);
    ASSERT_NE(tips, nullptr);
    auto tipWidthOver = [&](int index) {
        kit::moveTo(at(index, 40, 10));
        kit::moveTo(at(index, 42, 11));
        RECT rc{};
        kit::waitFor([&] { return IsWindowVisible(tips) != 0; }, 4000);
        GetWindowRect(tips, &rc);
        return IsWindowVisible(tips) ? rc.right - rc.left : -1;
    };
    int shortWidth = tipWidthOver(0);
    EXPECT_GT(shortWidth, 0);
    EXPECT_LT(shortWidth, 100);
    kit::moveTo(e2e::clientToScreen(bar_, {700, 12}));
    kit::waitFor([&] { return !IsWindowVisible(tips); }, 3000);
    // The whole title is far wider than a button.
    EXPECT_GT(tipWidthOver(1), 300);
}

// The state a screen reader reads of a browser button (1-based), from this process through the bar's object.
long accessibleState(HWND bar, long child) {
    IAccessible* object = nullptr;
    if (AccessibleObjectFromWindow(bar, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object)) != S_OK)
        return -1;
    VARIANT id{}, state{};
    id.vt = VT_I4;
    id.lVal = child;
    const HRESULT read = object->get_accState(id, &state);
    object->Release();
    return read == S_OK ? state.lVal : -1;
}

// The text of the tool tip shown over a button, once it shows.
std::wstring tipOver(HWND bar, POINT at) {
    HWND tips = e2e::barToolTips(bar);
    kit::moveTo(e2e::clientToScreen(bar, {700, 12}));
    kit::waitFor([&] { return !IsWindowVisible(tips); }, 3000);
    kit::moveTo(at);
    kit::moveTo({at.x + 2, at.y + 1});
    if (!kit::waitFor([&] { return IsWindowVisible(tips) != 0; }, 4000)) return L"";
    wchar_t text[256] = L"";
    DWORD_PTR length = 0;
    SendMessageTimeoutW(tips, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 3000,
                        &length);
    return text;
}

TEST_F(Buttons, AFlashingWindowCallsInTheAttentionColourUntilActivatedOrRedrawnCalmly) {
    constexpr COLORREF kAttention = RGB(255, 128, 0);
    std::vector<HWND> w = startWith({"A", "B"}, 0);
    auto waitFace = [&](int index, COLORREF colour) {
        return waitShot([&](const BarShot& s) { return s.at(button(index).left + 2, 5) == colour; });
    };
    // Posted, as the hook posts it.
    PostMessageA(bar_, cvsh::kShellEventMessage, reinterpret_cast<WPARAM>(w[1]), e2e::kFlashed);
    EXPECT_TRUE(waitFace(1, kAttention));
    EXPECT_EQ(BarShot(bar_).at(button(0).left + 2, 5), kDefaultActive);
    EXPECT_EQ(tipOver(bar_, at(1)), L"B (calls for your attention)");
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_EQ(accessibleState(bar_, 2) & STATE_SYSTEM_ALERT_HIGH, STATE_SYSTEM_ALERT_HIGH);
    EXPECT_EQ(accessibleState(bar_, 1) & STATE_SYSTEM_ALERT_HIGH, 0);

    // A redraw without flashing ends the call; so does the window's activation.
    EXPECT_EQ(e2e::shellEvent(bar_, w[1], e2e::kRetitled), 1);
    EXPECT_TRUE(waitFace(1, GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(tipOver(bar_, at(1)), L"B");
    EXPECT_EQ(accessibleState(bar_, 2) & STATE_SYSTEM_ALERT_HIGH, 0);
    EXPECT_EQ(e2e::shellEvent(bar_, w[1], e2e::kFlashed), 1);
    EXPECT_TRUE(waitFace(1, kAttention));
    EXPECT_EQ(e2e::shellEvent(bar_, w[1], e2e::kActivated), 1);
    EXPECT_TRUE(waitSunken(1));
    EXPECT_EQ(e2e::shellEvent(bar_, w[0], e2e::kActivated), 1);
    EXPECT_TRUE(waitFace(1, GetSysColor(COLOR_BTNFACE)));

    // With "Autorestore from tray" on (the default), a call brings the bar back.
    PostMessageA(bar_, WM_COMMAND, 125, 0);
    ASSERT_TRUE(kit::waitFor([&] { return !IsWindowVisible(bar_); }));
    PostMessageA(bar_, cvsh::kShellEventMessage, reinterpret_cast<WPARAM>(w[1]), e2e::kFlashed);
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) && !tray::iconPresent(bar_); }));
    CoUninitialize();
}

// Writes the app theme switch and broadcasts the change as the system does; the test prefix has none before.
void setAppTheme(bool light) {
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    DWORD value = light ? 1 : 0;
    if (light)
        RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "AppsUseLightTheme");
    else
        RegSetKeyValueA(HKEY_CURRENT_USER, key, "AppsUseLightTheme", REG_DWORD, &value, sizeof(value));
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                        SMTO_ABORTIFHUNG, 3000, &answer);
}

// Whether two shots agree on the browser buttons' stretch of the bar (the own buttons at both ends are
// windows of their own, which may paint after the bar and which no theme changes).
bool sameStrip(const BarShot& a, const BarShot& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = button(0).left - 2; x < 900; ++x)
            if (a.at(x, y) != b.at(x, y)) return false;
    return true;
}

TEST_F(Buttons, TheDarkThemeDrawsDefaultColoursDarkKeepsChosenOnesAndTheLightThemeGivesTodaysPixels) {
    constexpr COLORREF kDarkFace = RGB(32, 32, 32);
    e2e::writeSetting("Active button color", RGB(200, 10, 10));
    startWith({"A", "B"}, 0);
    const BarShot light(bar_);
    HWND tips = e2e::barToolTips(bar_);
    const LRESULT lightTip = SendMessageA(tips, TTM_GETTIPBKCOLOR, 0, 0);
    // Light again however the test ends: the later tests share the prefix.
    struct LightAgain {
        ~LightAgain() { setAppTheme(true); }
    } lightAgain;
    setAppTheme(false);
    ASSERT_TRUE(waitShot([&](const BarShot& s) { return s.at(600, 10) == kDarkFace; }));
    const BarShot dark(bar_);
    EXPECT_EQ(dark.at(button(1).left + 2, 5), kDarkFace);
    EXPECT_EQ(dark.at(button(0).left + 2, 5), RGB(200, 10, 10));
    // The inactive button's title is drawn in the light text of the dark palette.
    int lightText = 0;
    for (int x = button(1).left + 4; x < button(1).left + 40; ++x)
        for (int y = Button::top + 2; y < Button::bottom - 2; ++y)
            lightText += GetGValue(dark.at(x, y)) > 160 ? 1 : 0;
    EXPECT_GT(lightText, 5);
    EXPECT_EQ(SendMessageA(tips, TTM_GETTIPBKCOLOR, 0, 0), static_cast<LRESULT>(RGB(43, 43, 43)));

    setAppTheme(true);
    EXPECT_TRUE(waitShot([&](const BarShot& s) { return sameStrip(s, light); }));
    EXPECT_EQ(SendMessageA(tips, TTM_GETTIPBKCOLOR, 0, 0), lightTip);
}

} // namespace
