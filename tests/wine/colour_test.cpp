// The colour button and its popup in a real dialog, driven by real mouse and keyboard input.
#include <gtest/gtest.h>
#include <windows.h>

#include <colordlg.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "colour_test_ids.h"
#include "colour_test_support.h"
#include "controls/colour_button.h"
#include "controls/colour_popup.h"
#include "core/dpi_scale.h"
#include "win/dpi.h"
#include "win/handle.h"

namespace {

using namespace colourtest;
using namespace kit;
using controls::WM_COLOUR_ACCEPT;
using controls::WM_COLOUR_CANCEL;
using controls::WM_COLOUR_CLOSEUP;
using controls::WM_COLOUR_DROPDOWN;
using controls::WM_COLOUR_TRACK;

constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kUnlisted = RGB(1, 2, 3);
constexpr LPARAM kId = IDC_COLOUR_TEST_BUTTON;

class ColourPicker : public ::testing::Test {
  protected:
    TestDialog dialog;
    controls::ColourButton button;

    void SetUp() override {
        ASSERT_NE(dialog.createModeless(GetModuleHandleA(nullptr), IDD_COLOUR_TEST, nullptr), nullptr);
        ASSERT_TRUE(button.attach(dialog.hwnd(), IDC_COLOUR_TEST_BUTTON));
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

    // Moves the dialog so that the button's top-left corner lands on the screen point (x, y).
    void placeButtonAt(int x, int y) {
        RECT d = windowRect(dialog.hwnd()), b = windowRect(dialog.button());
        SetWindowPos(dialog.hwnd(), nullptr, x - (b.left - d.left), y - (b.top - d.top), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        settle();
    }

    HWND openWithClick() {
        POINT c = centre(windowRect(dialog.button()));
        click({c.x, c.y});
        EXPECT_TRUE(waitFor([&] { return button.popup() != nullptr; }));
        HWND popup = button.popup();
        waitFor([&] { return popup && !GetUpdateRect(popup, nullptr, FALSE); });
        return popup;
    }

    bool waitForEnd(HWND popup, DWORD timeoutMs = 5000) {
        return waitFor([&] { return !IsWindow(popup) && !button.popupOpen(); }, timeoutMs);
    }

    // Moves the pointer onto a point of the popup until the button reports the colour expected there. The
    // virtual display can replay an older pointer position after a move; moving again settles it.
    bool hover(POINT at, COLORREF expected) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            moveTo(at.x, at.y);
            if (waitFor([&] { return lastNote().msg == WM_COLOUR_TRACK && lastNote().colour == expected; },
                        500)) {
                settle();
                if (lastNote().colour == expected) return true;
            }
        }
        return false;
    }

    Note lastNote() const { return dialog.notes.empty() ? Note{0, 0, 0} : dialog.notes.back(); }

    COLORREF swatchPixel() {
        RECT b = windowRect(dialog.button());
        return screenPixel(b.left + 9, b.top + 9);
    }
};

TEST_F(ColourPicker, AClickOpensThePopupUnderTheButtonAndEscapeCancelsIt) {
    button.setColour(kUnlisted);
    RECT b = windowRect(dialog.button());
    COLORREF unpushed = screenPixel(b.right - 1, b.bottom - 1);
    HWND popup = openWithClick();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(dialog.notes.size(), 1u);
    EXPECT_EQ(dialog.notes[0], (Note{WM_COLOUR_DROPDOWN, kUnlisted, kId}));

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

    pressKey(VK_ESCAPE);
    ASSERT_TRUE(waitForEnd(popup));
    ASSERT_EQ(dialog.notes.size(), 3u);
    EXPECT_EQ(dialog.notes[1], (Note{WM_COLOUR_CLOSEUP, kUnlisted, kId}));
    EXPECT_EQ(dialog.notes[2], (Note{WM_COLOUR_CANCEL, kUnlisted, kId}));
    EXPECT_NE(GetCapture(), popup);
    EXPECT_EQ(button.colour(), kUnlisted);
    settle();
    EXPECT_EQ(screenPixel(b.right - 1, b.bottom - 1), unpushed);
}

TEST_F(ColourPicker, AQuickSecondClickOpensThePopupAgainAndItStaysOpen) {
    HWND popup = openWithClick();
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(waitForEnd(popup));
    // Within the double-click time: an owner-drawn button would see a double click here.
    popup = openWithClick();
    ASSERT_NE(popup, nullptr);
    settle();
    EXPECT_TRUE(IsWindow(popup));
    EXPECT_EQ(GetCapture(), popup);
    EXPECT_EQ(lastNote().msg, WM_COLOUR_DROPDOWN);
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(waitForEnd(popup));
}

TEST_F(ColourPicker, EveryCellHasItsNameAsToolTip) {
    HWND popup = openWithClick();
    HWND tip = toolTipOf(popup);
    ASSERT_NE(tip, nullptr);
    ASSERT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 40);
    RECT p = windowRect(popup);
    for (int i = 0; i < 40; ++i) {
        char text[80] = {};
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = popup;
        tool.uId = static_cast<UINT_PTR>(i) + 1;
        tool.lpszText = text;
        SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, core::paletteColours[i].name);
        RECT c = cellOnScreen(popup, i);
        EXPECT_TRUE(c.left >= p.left && c.right <= p.right && c.top >= p.top && c.bottom <= p.bottom) << i;
    }
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(waitForEnd(popup));
}

TEST_F(ColourPicker, MovingOverCellsPreviewsEachColourAndAClickOutsideRestoresTheOpeningOne) {
    const COLORREF blue = RGB(0, 0, 255);
    button.setColour(blue);
    HWND popup = openWithClick();
    ASSERT_NE(popup, nullptr);
    int previous = -1;
    for (int cell : {0, 9, 31, 38}) {
        const COLORREF colour = core::paletteColours[cell].colour;
        RECT c = cellOnScreen(popup, cell);
        POINT m = centre(c);
        ASSERT_TRUE(hover(m, colour)) << cell;
        EXPECT_EQ(lastNote().id, kId);
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
    ASSERT_GE(dialog.notes.size(), 2u);
    EXPECT_EQ(dialog.notes[dialog.notes.size() - 2], (Note{WM_COLOUR_CLOSEUP, blue, kId}));
    EXPECT_EQ(lastNote(), (Note{WM_COLOUR_CANCEL, blue, kId}));
    EXPECT_EQ(button.colour(), blue);
    EXPECT_NE(GetCapture(), popup);
    settle();
    EXPECT_EQ(swatchPixel(), blue);
}

TEST_F(ColourPicker, ArrowKeysWalkFromNothingAndReturnAcceptsTheCell) {
    button.setColour(kUnlisted);
    HWND popup = openWithClick();
    ASSERT_NE(popup, nullptr);
    for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT})
        pressKey(key);
    pressKey(VK_RETURN);
    ASSERT_TRUE(waitForEnd(popup));
    const COLORREF brown = RGB(165, 42, 0);
    const std::vector<Note> expected = {
        {WM_COLOUR_DROPDOWN, kUnlisted, kId},
        {WM_COLOUR_TRACK, kUnlisted, kId},                // "Other colors" previews the opening colour
        {WM_COLOUR_TRACK, controls::COLOUR_DEFAULT, kId}, // "Default"
        {WM_COLOUR_TRACK, RGB(0, 0, 0), kId},             // the first cell
        {WM_COLOUR_TRACK, brown, kId},
        {WM_COLOUR_CLOSEUP, brown, kId},
        {WM_COLOUR_ACCEPT, brown, kId},
    };
    EXPECT_EQ(dialog.notes, expected);
    EXPECT_EQ(button.colour(), brown);
}

TEST_F(ColourPicker, SpaceOnDefaultAcceptsTheDefaultValueAndAClickOnACellAcceptsIt) {
    button.setColour(kLightGrey);
    HWND popup = openWithClick();
    pressKey(VK_UP); // from nothing: "Default"
    pressKey(VK_SPACE);
    ASSERT_TRUE(waitForEnd(popup));
    EXPECT_EQ(lastNote(), (Note{WM_COLOUR_ACCEPT, controls::COLOUR_DEFAULT, kId}));
    EXPECT_EQ(button.colour(), controls::COLOUR_DEFAULT);
    settle();
    EXPECT_EQ(swatchPixel(), GetSysColor(COLOR_BTNFACE));

    popup = openWithClick();
    POINT m = centre(cellOnScreen(popup, 26));
    ASSERT_TRUE(hover(m, RGB(255, 255, 0)));
    click({m.x, m.y});
    ASSERT_TRUE(waitForEnd(popup));
    EXPECT_EQ(lastNote(), (Note{WM_COLOUR_ACCEPT, RGB(255, 255, 0), kId}));
    EXPECT_EQ(dialog.notes[dialog.notes.size() - 2], (Note{WM_COLOUR_CLOSEUP, RGB(255, 255, 0), kId}));
}

TEST_F(ColourPicker, TheOpeningColourIsMarked) {
    button.setColour(kLightGrey);
    HWND popup = openWithClick();
    RECT grey = cellOnScreen(popup, 31), other = cellOnScreen(popup, 30);
    EXPECT_EQ(screenPixel(grey.left + 2, grey.top + 9), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(screenPixel(other.left + 2, other.top + 9), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(screenPixel(grey.left + 9, grey.top + 9), kLightGrey);
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(waitForEnd(popup));

    // A colour not in the table marks "Other colors", under the grid.
    button.setColour(kUnlisted);
    popup = openWithClick();
    RECT last = cellOnScreen(popup, 39);
    RECT p = windowRect(popup);
    const int y = (last.bottom + p.bottom) / 2 + 4;
    if (GetSysColor(COLOR_3DLIGHT) != GetSysColor(COLOR_BTNFACE)) {
        EXPECT_EQ(screenPixel(p.left + 6, y), GetSysColor(COLOR_3DLIGHT));
    }
    EXPECT_EQ(screenPixel(grey.left + 2, grey.top + 9), GetSysColor(COLOR_BTNFACE));
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(waitForEnd(popup));
}

TEST_F(ColourPicker, NearTheBottomItOpensAboveTheButtonAndNearTheRightEdgeItShiftsLeft) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    placeButtonAt(300, cy - 40);
    RECT b = windowRect(dialog.button());
    HWND popup = openWithClick();
    ASSERT_NE(popup, nullptr);
    RECT p = windowRect(popup);
    EXPECT_EQ(p.bottom, b.top);
    EXPECT_EQ(p.left, b.left);
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(waitForEnd(popup));

    placeButtonAt(cx - 60, 200);
    b = windowRect(dialog.button());
    popup = openWithClick();
    ASSERT_NE(popup, nullptr);
    p = windowRect(popup);
    EXPECT_EQ(p.right, cx);
    EXPECT_LT(p.left, b.left);
    EXPECT_EQ(p.top, b.bottom);
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(waitForEnd(popup));
}

TEST_F(ColourPicker, ActivatingAnotherApplicationCancels) {
    button.setColour(kLightGrey);
    HWND popup = openWithClick();
    pressKey(VK_RIGHT); // highlights "Other colors"
    pressKey(VK_RIGHT); // "Default"
    ASSERT_EQ(lastNote().colour, controls::COLOUR_DEFAULT);
    std::atomic<HWND> other{nullptr};
    std::atomic<bool> stop{false};
    std::thread t([&] {
        HWND w = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 600, 500, 100, 50, nullptr,
                                 nullptr, nullptr, nullptr);
        SetForegroundWindow(w);
        other = w;
        while (!stop) {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&m);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        DestroyWindow(w);
    });
    bool ended = waitForEnd(popup);
    stop = true;
    t.join();
    ASSERT_TRUE(ended);
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
    EXPECT_EQ(lastNote().msg, WM_COLOUR_CANCEL);
}

// Finds the system colour dialog owned by the popup and works it from another thread, as a user would.
class ColourDialogDriver {
  public:
    ColourDialogDriver(DWORD uiThread, std::function<void(HWND)> work)
        : thread_([this, uiThread, work] {
              HWND dlg = nullptr;
              for (int i = 0; i < 500 && !dlg && !stop_; ++i) {
                  EnumThreadWindows(uiThread, find, reinterpret_cast<LPARAM>(&dlg));
                  if (!dlg) Sleep(20);
              }
              if (dlg) {
                  found_ = true;
                  work(dlg);
              }
          }) {}
    ~ColourDialogDriver() {
        stop_ = true;
        thread_.join();
    }
    bool found() const { return found_; }

  private:
    static BOOL CALLBACK find(HWND hwnd, LPARAM param) {
        char cls[16] = {};
        GetClassNameA(hwnd, cls, sizeof(cls));
        HWND owner = GetWindow(hwnd, GW_OWNER);
        char ownerCls[64] = {};
        if (owner) GetClassNameA(owner, ownerCls, sizeof(ownerCls));
        if (lstrcmpA(cls, "#32770") == 0 && lstrcmpA(ownerCls, controls::ColourPopup::kClassName) == 0 &&
            IsWindowVisible(hwnd)) {
            *reinterpret_cast<HWND*>(param) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    std::atomic<bool> stop_{false};
    std::atomic<bool> found_{false};
    std::thread thread_;
};

TEST_F(ColourPicker, ReturnOnOtherColorsOpensTheColourDialogAndCancellingItCancelsTheChoice) {
    const COLORREF gold = RGB(255, 215, 0);
    button.setColour(gold);
    HWND popup = openWithClick();
    pressKey(VK_UP); // "Default"
    pressKey(VK_UP); // "Other colors"
    EXPECT_EQ(lastNote(), (Note{WM_COLOUR_TRACK, gold, kId}));
    std::atomic<bool> captureFree{false};
    {
        ColourDialogDriver driver(GetCurrentThreadId(), [&](HWND dlg) {
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &info);
            captureFree = info.hwndCapture != popup;
            PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        });
        pressKey(VK_RETURN);
        ASSERT_TRUE(waitForEnd(popup, 15000));
        EXPECT_TRUE(driver.found());
    }
    EXPECT_TRUE(captureFree) << "the capture is released while the colour dialog is open";
    EXPECT_EQ(dialog.notes[dialog.notes.size() - 2], (Note{WM_COLOUR_CLOSEUP, gold, kId}));
    EXPECT_EQ(lastNote(), (Note{WM_COLOUR_CANCEL, gold, kId}));
    EXPECT_EQ(button.colour(), gold);
}

TEST_F(ColourPicker, OkInTheColourDialogAcceptsItsColourAndTheCustomColoursAreKept) {
    const COLORREF* kept = controls::ColourPopup::customColours();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(kept[i], RGB(255, 255, 255)) << i;
    }
    button.setColour(kUnlisted);
    HWND popup = openWithClick();
    RECT p = windowRect(popup);
    RECT last = cellOnScreen(popup, 39);
    POINT custom{(p.left + p.right) / 2, (last.bottom + p.bottom) / 2 + 4};
    ASSERT_TRUE(hover(custom, kUnlisted)); // over "Other colors", which previews the opening colour
    {
        ColourDialogDriver driver(GetCurrentThreadId(), [](HWND dlg) {
            SetDlgItemTextA(dlg, COLOR_RED, "10");
            SetDlgItemTextA(dlg, COLOR_GREEN, "20");
            SetDlgItemTextA(dlg, COLOR_BLUE, "30");
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        });
        click({custom.x, custom.y});
        ASSERT_TRUE(waitForEnd(popup, 15000));
        EXPECT_TRUE(driver.found());
    }
    EXPECT_EQ(lastNote(), (Note{WM_COLOUR_ACCEPT, RGB(10, 20, 30), kId}));
    EXPECT_EQ(button.colour(), RGB(10, 20, 30));
    EXPECT_EQ(controls::ColourPopup::customColours(), kept);
}

TEST_F(ColourPicker, ADialogDestroyedUnderTheOpenColourDialogTakesThePopupWithIt) {
    button.setColour(kLightGrey);
    HWND popup = openWithClick();
    HWND dlg = dialog.hwnd();
    pressKey(VK_DOWN); // "Other colors"
    {
        ColourDialogDriver driver(GetCurrentThreadId(),
                                  [dlg](HWND) { PostMessageA(dlg, kDestroyMessage, 0, 0); });
        pressKey(VK_RETURN);
        ASSERT_TRUE(waitFor([&] { return !IsWindow(popup) && !IsWindow(dlg); }, 15000));
        EXPECT_TRUE(driver.found());
    }
    settle();
    // Nothing is reported to a button that is gone, and the popup freed itself once the colour dialog
    // returned.
    EXPECT_NE(lastNote().msg, WM_COLOUR_ACCEPT);
    EXPECT_NE(lastNote().msg, WM_COLOUR_CANCEL);
    EXPECT_EQ(FindWindowA(controls::ColourPopup::kClassName, nullptr), nullptr);
    EXPECT_EQ(button.hwnd(), nullptr);
    EXPECT_FALSE(button.popupOpen());
}

TEST_F(ColourPicker, OpeningAndClosingLeavesNoGdiObjectsBehind) {
    // Warm up once: the popup's window class and the common controls allocate for good the first time.
    HWND popup = openWithClick();
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(waitForEnd(popup));
    const long before = gdiObjectCount();
    if (before < 0) GTEST_SKIP() << "no way to count GDI objects here";
    {
        // The count must see a single object come and go, or it proves nothing.
        win::Brush probe(CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_EQ(gdiObjectCount(), before + 1);
    }
    ASSERT_EQ(gdiObjectCount(), before);
    for (int i = 0; i < 10; ++i) {
        button.open();
        popup = button.popup();
        ASSERT_NE(popup, nullptr);
        pressKey(VK_DOWN);
        pressKey(VK_RIGHT);
        pressKey(VK_ESCAPE);
        ASSERT_TRUE(waitForEnd(popup));
    }
    settle();
    EXPECT_EQ(gdiObjectCount(), before);
    EXPECT_EQ(FindWindowA(controls::ColourPopup::kClassName, nullptr), nullptr);
    EXPECT_EQ(toolTipOf(popup), nullptr);
}

TEST(ColourPopup, AnOwnerThatIsNoWindowMakesNoPopup) {
    EXPECT_EQ(
        controls::ColourPopup::open(10, 10, 0, reinterpret_cast<HWND>(0x7FFF0), "Default", "Other colors"),
        nullptr);
}

TEST_F(ColourPicker, ScreenshotOfTheOpenPopup) {
    button.setColour(kLightGrey);
    HWND popup = openWithClick();
    ASSERT_TRUE(hover(centre(cellOnScreen(popup, 12)), core::paletteColours[12].colour));
    RECT p = windowRect(popup);
    // The raised frame: light above and left, dark below and right.
    EXPECT_EQ(screenPixel(p.left, p.top), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(screenPixel(p.right - 1, p.bottom - 1), GetSysColor(COLOR_3DDKSHADOW));
    RECT area = windowRect(dialog.hwnd());
    area.right = std::max(area.right, p.right) + 4;
    area.bottom = std::max(area.bottom, p.bottom) + 4;
    area.left -= 4;
    area.top -= 4;
    const char* bin = std::getenv("CORVANE_BIN");
    std::string path = std::string(bin ? bin : ".") + "/colour_popup.bmp";
    EXPECT_TRUE(saveScreen(area, path.c_str())) << path;
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(waitForEnd(popup));
}

} // namespace
