// The bar with default settings on a 144-DPI screen (run by high-dpi-run.sh, which sets the prefix's DPI).
#include <gtest/gtest.h>
#include <windows.h>

#include "kit/bar_fixture.h"
#include "kit/input.h"
#include "kit/tray.h"

namespace {

constexpr WORD kCloseStrip150 = 101;

class HighDpi : public e2e::BarTest {};

TEST_F(HighDpi, TheBarItsButtonsItsOwnButtonsAndItsFontAreScaledByOneAndAHalf) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 144) << "run through high-dpi-run.sh";
    openBefore({"Alpha"});
    start();
    ASSERT_TRUE(waitTools(1));
    RECT bar{};
    GetWindowRect(bar_, &bar);
    EXPECT_EQ(bar.bottom - bar.top, 36);

    // Close (right) is 18 square, 24 from the right end (16 x 1.5), and shows the strip drawn at 150 %.
    RECT close{};
    GetWindowRect(GetDlgItem(bar_, 218), &close);
    EXPECT_EQ(close.right - close.left, 18);
    EXPECT_EQ(close.bottom - close.top, 18);
    EXPECT_EQ(bar.right - close.left, 24);
    kit::Strip strip = kit::loadStrip(kit::distDir() + "\\corvane.exe", kCloseStrip150);
    ASSERT_EQ(strip.height, 18);
    EXPECT_TRUE(kit::waitFor([&] { return kit::differingPixels(close.left, close.top, strip, 0) == 0; }));
    RECT newBrowser{};
    GetWindowRect(GetDlgItem(bar_, 245), &newBrowser);
    EXPECT_EQ(newBrowser.right - newBrowser.left, 27);

    // Button 0 starts at 81 (54 x 1.5), 5 down, 240 wide; its title is drawn in the scaled font (-11 -> -17).
    EXPECT_TRUE(e2e::buttonTextDrawnAs(bar_, {87, 5, 81 + 240 - 5, 31}, "Alpha", "MS Sans Serif", -17));
}

TEST_F(HighDpi, HoldingNewBrowserOpensTheMenuRightOfTheScaledButtonThreePixelsDown) {
    // Docked at the top, nothing moves the menu up to keep it on the screen.
    e2e::writeSetting("Show on top of desktop", 1);
    start();
    RECT bar{}, button{};
    GetWindowRect(bar_, &bar);
    GetWindowRect(GetDlgItem(bar_, 245), &button);
    ASSERT_TRUE(kit::moveTo((button.left + button.right) / 2, (button.top + button.bottom) / 2));
    kit::leftDown();
    HWND menu = tray::waitPopupMenu();
    RECT rc{};
    if (menu) GetWindowRect(menu, &rc);
    kit::leftUp();
    kit::pressKey(VK_ESCAPE);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(rc.left, button.right);
    EXPECT_EQ(rc.top, bar.top + 3);
    EXPECT_TRUE(kit::waitFor([] { return tray::popupMenu() == nullptr; }));
}

} // namespace
