// The colour button and its popup in a real dialog, driven by real mouse and keyboard input.
#include <gtest/gtest.h>
#include <windows.h>

#include <colordlg.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <tuple>
#include <vector>

#include "controls/colour_button.h"
#include "controls/colour_popup.h"
#include "core/dpi_scale.h"
#include "kit/input.h"
#include "kit/other_process.h"
#include "kit/pixels.h"
#include "kit/process.h"
#include "kit/wait.h"
#include "win/dialog.h"
#include "win/dpi.h"
#include "win/handle.h"

namespace {

using namespace kit;
using namespace controls;

constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kUnlisted = RGB(1, 2, 3);
constexpr int kDialogId = 300, kButtonId = 301; // as in colour_test.rc
constexpr LPARAM kId = kButtonId;
// Posted to the test dialog: it destroys itself, as a window closed under an open popup would.
constexpr UINT kDestroyMessage = WM_APP + 1;

using Note = std::tuple<UINT, WPARAM, LPARAM>; // the message, its colour and the button's id

// Records every colour message its button sends it.
class TestDialog : public win::Dialog {
  public:
    std::vector<Note> notes;

  protected:
    INT_PTR dialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        const bool colour = msg >= WM_COLOUR_TRACK && msg <= WM_COLOUR_CANCEL;
        if (colour) notes.push_back({msg, wParam, lParam});
        if (msg == kDestroyMessage) DestroyWindow(hwnd());
        return colour || msg == kDestroyMessage || msg == WM_INITDIALOG;
    }
};

RECT windowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

POINT centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The tool tip window the popup made for its cells.
HWND toolTipOf(HWND popup) {
    HWND tip = nullptr;
    do
        tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr);
    while (tip && GetWindow(tip, GW_OWNER) != popup);
    return tip;
}

// A cell's tool, as the popup gave it to its tool tip.
TTTOOLINFOA cellTool(HWND popup, int index, char* text = nullptr) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = popup;
    tool.uId = static_cast<UINT_PTR>(index) + 1;
    tool.lpszText = text;
    return tool;
}

RECT cellOnScreen(HWND popup, int index) {
    TTTOOLINFOA tool = cellTool(popup, index);
    SendMessageA(toolTipOf(popup), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
    MapWindowPoints(popup, nullptr, reinterpret_cast<POINT*>(&tool.rect), 2);
    return tool.rect;
}

class ColourPicker : public ::testing::Test {
  protected:
    TestDialog dialog;
    ColourButton button;

    void SetUp() override {
        ASSERT_NE(dialog.createModeless(GetModuleHandleA(nullptr), kDialogId, nullptr), nullptr);
        ASSERT_TRUE(button.attach(dialog.hwnd(), kButtonId));
        placeButtonAt(100, 100);
        ShowWindow(dialog.hwnd(), SW_SHOW);
        SetForegroundWindow(dialog.hwnd());
        ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == dialog.hwnd(); }));
        settle();
    }

    void TearDown() override {
        if (HWND p = button.popup()) SendMessageA(p, WM_KEYDOWN, VK_ESCAPE, 0);
        DestroyWindow(dialog.hwnd());
        settle();
    }

    RECT buttonRect() { return windowRect(GetDlgItem(dialog.hwnd(), kButtonId)); }

    // Moves the dialog so that the button's top-left corner lands on the screen point (x, y).
    void placeButtonAt(int x, int y) {
        RECT d = windowRect(dialog.hwnd()), b = buttonRect();
        SetWindowPos(dialog.hwnd(), nullptr, x - (b.left - d.left), y - (b.top - d.top), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        settle();
    }

    // Gives the button the colour (unless CLR_INVALID), then opens its popup with a click.
    HWND openWithClick(COLORREF colour = CLR_INVALID) {
        if (colour != CLR_INVALID) button.setColour(colour);
        click(centre(buttonRect()));
        EXPECT_TRUE(waitFor([&] { return button.popup() != nullptr; }));
        HWND popup = button.popup();
        waitFor([&] { return popup && !GetUpdateRect(popup, nullptr, FALSE); });
        return popup;
    }

    bool ended(HWND popup) const { return !IsWindow(popup) && !button.popupOpen(); }
    bool waitForEnd(HWND popup) {
        return waitFor([&] { return ended(popup); }, 5000);
    }
    bool escape(HWND popup) {
        pressKey(VK_ESCAPE);
        return waitForEnd(popup);
    }

    // Moves the pointer onto a point of the popup until the button reports the colour expected there. The
    // virtual display can replay an older pointer position after a move; moving again settles it.
    bool hover(POINT at, COLORREF expected) {
        const Note track{WM_COLOUR_TRACK, expected, kId};
        for (int attempt = 0; attempt < 5; ++attempt) {
            moveTo(at);
            if (!waitFor([&] { return lastNote() == track; }, 500)) continue;
            settle();
            if (lastNote() == track) return true;
        }
        return false;
    }

    Note lastNote() const { return dialog.notes.empty() ? Note{0, 0, 0} : dialog.notes.back(); }

    // The last two notes: the popup closed up with the colour, then accepted or cancelled it.
    void expectEnding(UINT how, COLORREF colour) {
        ASSERT_GE(dialog.notes.size(), 2u);
        EXPECT_EQ(dialog.notes[dialog.notes.size() - 2], (Note{WM_COLOUR_CLOSEUP, colour, kId}));
        EXPECT_EQ(lastNote(), (Note{how, colour, kId}));
    }

    COLORREF swatchPixel() { return screenPixel(buttonRect().left + 9, buttonRect().top + 9); }

    // Does `act`, which opens the system colour dialog, while another thread finds that dialog and works it
    // as a user would. True when the dialog was found and `ended` came true.
    bool throughColourDialog(HWND popup, const std::function<void()>& act,
                             const std::function<void(HWND)>& work, const std::function<bool()>& ended) {
        std::atomic<bool> stop{false}, found{false};
        std::thread driver([&] {
            for (int i = 0; i < 500 && !stop && !found; ++i) {
                for (HWND dlg : topLevelWindows("#32770"))
                    if (!found && GetWindow(dlg, GW_OWNER) == popup) {
                        found = true;
                        work(dlg);
                    }
                Sleep(20);
            }
        });
        act();
        const bool done = waitFor(ended, 15000);
        stop = true;
        driver.join();
        return found && done;
    }
};

TEST_F(ColourPicker, AClickOpensThePopupUnderTheButtonAndEscapeCancelsIt) {
    button.setColour(kUnlisted);
    RECT b = buttonRect();
    COLORREF unpushed = screenPixel(b.right - 1, b.bottom - 1);
    HWND popup = openWithClick();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(dialog.notes, (std::vector<Note>{{WM_COLOUR_DROPDOWN, kUnlisted, kId}}));

    RECT p = windowRect(popup);
    EXPECT_EQ(p.left, b.left);
    EXPECT_EQ(p.top, b.bottom);
    if (GetSystemMetrics(SM_CXEDGE) == 2) {
        // Eight cells of 18 at 96 DPI; the high-DPI run checks them scaled.
        EXPECT_EQ(p.right - p.left, 8 * core::scaleForDpi(18, win::systemDpi()) + 4);
    }
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(GetCapture(), popup);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), dialog.hwnd());
    EXPECT_TRUE(button.popupOpen());
    EXPECT_NE(screenPixel(b.right - 1, b.bottom - 1), unpushed) << "the button is drawn pushed while open";

    ASSERT_TRUE(escape(popup));
    ASSERT_EQ(dialog.notes.size(), 3u);
    expectEnding(WM_COLOUR_CANCEL, kUnlisted);
    EXPECT_NE(GetCapture(), popup);
    EXPECT_EQ(button.colour(), kUnlisted);
    settle();
    EXPECT_EQ(screenPixel(b.right - 1, b.bottom - 1), unpushed);
}

TEST_F(ColourPicker, AQuickSecondClickOpensThePopupAgainAndItStaysOpen) {
    ASSERT_TRUE(escape(openWithClick()));
    // Within the double-click time: an owner-drawn button would see a double click here.
    HWND popup = openWithClick();
    ASSERT_NE(popup, nullptr);
    settle();
    EXPECT_TRUE(IsWindow(popup));
    EXPECT_EQ(GetCapture(), popup);
    EXPECT_EQ(std::get<0>(lastNote()), WM_COLOUR_DROPDOWN);
    EXPECT_TRUE(escape(popup));
}

TEST_F(ColourPicker, EveryCellHasItsNameAsToolTip) {
    HWND popup = openWithClick();
    HWND tip = toolTipOf(popup);
    ASSERT_NE(tip, nullptr);
    ASSERT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 40);
    RECT p = windowRect(popup);
    for (int i = 0; i < 40; ++i) {
        char text[80] = {};
        TTTOOLINFOA tool = cellTool(popup, i, text);
        SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, core::paletteColours[i].name);
        RECT c = cellOnScreen(popup, i);
        EXPECT_TRUE(c.left >= p.left && c.right <= p.right && c.top >= p.top && c.bottom <= p.bottom) << i;
    }
}

TEST_F(ColourPicker, MovingOverCellsPreviewsEachColourAndAClickOutsideRestoresTheOpeningOne) {
    const COLORREF blue = RGB(0, 0, 255);
    HWND popup = openWithClick(blue);
    ASSERT_NE(popup, nullptr);
    int previous = -1;
    for (int cell : {0, 9, 31, 38}) {
        const COLORREF colour = core::paletteColours[cell].colour;
        RECT c = cellOnScreen(popup, cell);
        ASSERT_TRUE(hover(centre(c), colour)) << cell;
        EXPECT_EQ(std::get<2>(lastNote()), kId);
        EXPECT_EQ(button.colour(), colour);
        EXPECT_EQ(swatchPixel(), colour) << "the swatch previews the highlighted colour";
        // The highlight is drawn at once, on the new cell only, without invalidating the popup.
        EXPECT_EQ(screenPixel(c.right - 1, c.bottom - 1), GetSysColor(COLOR_BTNSHADOW)) << cell;
        EXPECT_FALSE(GetUpdateRect(popup, nullptr, FALSE));
        if (previous >= 0) {
            RECT old = cellOnScreen(popup, previous);
            EXPECT_EQ(screenPixel(old.right - 1, old.bottom - 1), GetSysColor(COLOR_BTNFACE)) << previous;
        }
        previous = cell;
    }
    RECT p = windowRect(popup);
    click({p.right + 150, p.bottom + 100});
    ASSERT_TRUE(waitForEnd(popup));
    expectEnding(WM_COLOUR_CANCEL, blue);
    EXPECT_EQ(button.colour(), blue);
    EXPECT_NE(GetCapture(), popup);
    settle();
    EXPECT_EQ(swatchPixel(), blue);
}

TEST_F(ColourPicker, ArrowKeysWalkFromNothingAndReturnAcceptsTheCell) {
    HWND popup = openWithClick(kUnlisted);
    ASSERT_NE(popup, nullptr);
    for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN})
        pressKey(key);
    ASSERT_TRUE(waitForEnd(popup));
    const COLORREF brown = RGB(165, 42, 0);
    // "Other colors" (previewing the opening colour), "Default", the first cell and the one right of it.
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{WM_COLOUR_DROPDOWN, kUnlisted, kId},
                                               {WM_COLOUR_TRACK, kUnlisted, kId},
                                               {WM_COLOUR_TRACK, COLOUR_DEFAULT, kId},
                                               {WM_COLOUR_TRACK, RGB(0, 0, 0), kId},
                                               {WM_COLOUR_TRACK, brown, kId},
                                               {WM_COLOUR_CLOSEUP, brown, kId},
                                               {WM_COLOUR_ACCEPT, brown, kId}}));
    EXPECT_EQ(button.colour(), brown);
}

TEST_F(ColourPicker, SpaceOnDefaultAcceptsTheDefaultValueAndAClickOnACellAcceptsIt) {
    HWND popup = openWithClick(kLightGrey);
    pressKey(VK_UP); // from nothing: "Default"
    pressKey(VK_SPACE);
    ASSERT_TRUE(waitForEnd(popup));
    EXPECT_EQ(lastNote(), (Note{WM_COLOUR_ACCEPT, COLOUR_DEFAULT, kId}));
    EXPECT_EQ(button.colour(), COLOUR_DEFAULT);
    settle();
    EXPECT_EQ(swatchPixel(), GetSysColor(COLOR_BTNFACE));

    popup = openWithClick();
    POINT m = centre(cellOnScreen(popup, 26));
    ASSERT_TRUE(hover(m, RGB(255, 255, 0)));
    click(m);
    ASSERT_TRUE(waitForEnd(popup));
    expectEnding(WM_COLOUR_ACCEPT, RGB(255, 255, 0));
}

TEST_F(ColourPicker, TheOpeningColourIsMarked) {
    HWND popup = openWithClick(kLightGrey);
    RECT grey = cellOnScreen(popup, 31), other = cellOnScreen(popup, 30);
    EXPECT_EQ(screenPixel(grey.left + 2, grey.top + 9), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(screenPixel(other.left + 2, other.top + 9), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(screenPixel(grey.left + 9, grey.top + 9), kLightGrey);
    ASSERT_TRUE(escape(popup));

    // A colour not in the table marks "Other colors", under the grid.
    popup = openWithClick(kUnlisted);
    RECT last = cellOnScreen(popup, 39), p = windowRect(popup);
    if (GetSysColor(COLOR_3DLIGHT) != GetSysColor(COLOR_BTNFACE)) {
        EXPECT_EQ(screenPixel(p.left + 6, (last.bottom + p.bottom) / 2 + 4), GetSysColor(COLOR_3DLIGHT));
    }
    EXPECT_EQ(screenPixel(grey.left + 2, grey.top + 9), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ColourPicker, NearTheBottomItOpensAboveTheButtonAndNearTheRightEdgeItShiftsLeft) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    placeButtonAt(300, cy - 40);
    RECT b = buttonRect();
    HWND popup = openWithClick();
    ASSERT_NE(popup, nullptr);
    RECT p = windowRect(popup);
    EXPECT_EQ(p.bottom, b.top);
    EXPECT_EQ(p.left, b.left);
    ASSERT_TRUE(escape(popup));

    placeButtonAt(cx - 60, 200);
    b = buttonRect();
    popup = openWithClick();
    ASSERT_NE(popup, nullptr);
    p = windowRect(popup);
    EXPECT_EQ(p.right, cx);
    EXPECT_LT(p.left, b.left);
    EXPECT_EQ(p.top, b.bottom);
}

TEST_F(ColourPicker, ActivatingAnotherApplicationCancels) {
    HWND popup = openWithClick(kLightGrey);
    pressKey(VK_RIGHT); // highlights "Other colors"
    pressKey(VK_RIGHT); // "Default"
    ASSERT_EQ(std::get<1>(lastNote()), COLOUR_DEFAULT);
    Process other; // its window comes up active
    ASSERT_TRUE(other.start(binDir() + "\\tests\\wine\\launch_probe.exe", "other"));
    ASSERT_TRUE(waitForEnd(popup));
    EXPECT_EQ(lastNote(), (Note{WM_COLOUR_CANCEL, kLightGrey, kId}));
    EXPECT_EQ(button.colour(), kLightGrey);
}

TEST_F(ColourPicker, LosingTheFocusReleasesTheCaptureButKeepsThePopupOpen) {
    HWND popup = openWithClick();
    ASSERT_EQ(GetCapture(), popup);
    SetFocus(nullptr);
    settle();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(IsWindow(popup));
    EXPECT_TRUE(button.popupOpen());
    SendMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(waitForEnd(popup));
    EXPECT_EQ(std::get<0>(lastNote()), WM_COLOUR_CANCEL);
}

TEST_F(ColourPicker, ReturnOnOtherColorsOpensTheColourDialogAndCancellingItCancelsTheChoice) {
    const COLORREF gold = RGB(255, 215, 0);
    HWND popup = openWithClick(gold);
    pressKey(VK_UP); // "Default"
    pressKey(VK_UP); // "Other colors"
    EXPECT_EQ(lastNote(), (Note{WM_COLOUR_TRACK, gold, kId}));
    std::atomic<bool> captureFree{false};
    ASSERT_TRUE(throughColourDialog(
        popup, [] { pressKey(VK_RETURN); },
        [&](HWND dlg) {
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &info);
            captureFree = info.hwndCapture != popup;
            PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        },
        [&] { return ended(popup); }));
    EXPECT_TRUE(captureFree) << "the capture is released while the colour dialog is open";
    expectEnding(WM_COLOUR_CANCEL, gold);
    EXPECT_EQ(button.colour(), gold);
}

TEST_F(ColourPicker, OkInTheColourDialogAcceptsItsColourAndTheCustomColoursAreKept) {
    const COLORREF* kept = ColourPopup::customColours();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(kept[i], RGB(255, 255, 255)) << i;
    HWND popup = openWithClick(kUnlisted);
    RECT p = windowRect(popup), last = cellOnScreen(popup, 39);
    POINT custom{(p.left + p.right) / 2, (last.bottom + p.bottom) / 2 + 4};
    ASSERT_TRUE(hover(custom, kUnlisted)); // over "Other colors", which previews the opening colour
    ASSERT_TRUE(throughColourDialog(
        popup, [&] { click(custom); },
        [](HWND dlg) {
            SetDlgItemTextA(dlg, COLOR_RED, "10");
            SetDlgItemTextA(dlg, COLOR_GREEN, "20");
            SetDlgItemTextA(dlg, COLOR_BLUE, "30");
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        },
        [&] { return ended(popup); }));
    EXPECT_EQ(lastNote(), (Note{WM_COLOUR_ACCEPT, RGB(10, 20, 30), kId}));
    EXPECT_EQ(button.colour(), RGB(10, 20, 30));
    EXPECT_EQ(ColourPopup::customColours(), kept);
}

TEST_F(ColourPicker, ADialogDestroyedUnderTheOpenColourDialogTakesThePopupWithIt) {
    HWND popup = openWithClick(kLightGrey);
    HWND dlg = dialog.hwnd();
    pressKey(VK_DOWN); // "Other colors"
    ASSERT_TRUE(throughColourDialog(
        popup, [] { pressKey(VK_RETURN); }, [dlg](HWND) { PostMessageA(dlg, kDestroyMessage, 0, 0); },
        [&] { return !IsWindow(popup) && !IsWindow(dlg); }));
    settle();
    // Nothing is reported to a button that is gone, and the popup freed itself once the colour dialog
    // returned.
    EXPECT_NE(std::get<0>(lastNote()), WM_COLOUR_ACCEPT);
    EXPECT_NE(std::get<0>(lastNote()), WM_COLOUR_CANCEL);
    EXPECT_EQ(FindWindowA(ColourPopup::kClassName, nullptr), nullptr);
    EXPECT_EQ(button.hwnd(), nullptr);
    EXPECT_FALSE(button.popupOpen());
}

TEST_F(ColourPicker, OpeningAndClosingLeavesNoGdiObjectsBehind) {
    // Warm up once: the popup's window class and the common controls allocate for good the first time.
    HWND popup = openWithClick();
    ASSERT_TRUE(escape(popup));
    const long before = kit::guiObjects(GetCurrentProcessId()).gdi;
    if (before < 0) GTEST_SKIP() << "no way to count GDI objects here";
    {
        // The count must see a single object come and go, or it proves nothing.
        win::Brush probe(CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_EQ(kit::guiObjects(GetCurrentProcessId()).gdi, before + 1);
    }
    ASSERT_EQ(kit::guiObjects(GetCurrentProcessId()).gdi, before);
    for (int i = 0; i < 10; ++i) {
        button.open();
        popup = button.popup();
        ASSERT_NE(popup, nullptr);
        pressKey(VK_DOWN);
        pressKey(VK_RIGHT);
        ASSERT_TRUE(escape(popup));
    }
    settle();
    EXPECT_EQ(kit::guiObjects(GetCurrentProcessId()).gdi, before);
    EXPECT_EQ(FindWindowA(ColourPopup::kClassName, nullptr), nullptr);
    EXPECT_EQ(toolTipOf(popup), nullptr);
}

TEST(ColourPopup, AnOwnerThatIsNoWindowMakesNoPopup) {
    EXPECT_EQ(ColourPopup::open(10, 10, 0, reinterpret_cast<HWND>(0x7FFF0), "Default", "Other colors"),
              nullptr);
}

TEST_F(ColourPicker, ScreenshotOfTheOpenPopup) {
    HWND popup = openWithClick(kLightGrey);
    ASSERT_TRUE(hover(centre(cellOnScreen(popup, 12)), core::paletteColours[12].colour));
    RECT p = windowRect(popup);
    // The raised frame: light above and left, dark below and right.
    EXPECT_EQ(screenPixel(p.left, p.top), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(screenPixel(p.right - 1, p.bottom - 1), GetSysColor(COLOR_3DDKSHADOW));
    RECT d = windowRect(dialog.hwnd());
    RECT area{d.left - 4, d.top - 4, std::max(d.right, p.right) + 4, std::max(d.bottom, p.bottom) + 4};
    const std::string path = binDir() + "\\colour_popup.bmp";
    EXPECT_TRUE(saveScreen(area, path.c_str())) << path;
}

} // namespace
