// Every change made on a page: what is stored, what is written (and nothing else), what the bar is
// asked to do, and what is refused.
#include "kit/prefs_fixture.h"

namespace prefs_test {
namespace {

using Apply = PrefsDialogTest;

TEST_F(Apply, EachCheckBoxWritesItsOwnValueOnly) {
    open();
    const std::tuple<const char*, int, const char*> cases[] = {
        {"General", IDC_PREFS_OPEN_ON_START, "write Open default browser on start=1"},
        {"General", IDC_PREFS_CLOSE_ON_EXIT, "write Close browser windows on exit=1"},
        {"General", IDC_PREFS_HIDE_BROWSERS, "write Hide browsers when Corvane! hides=0"},
        {"General", IDC_PREFS_AUTOHIDE, "write Autohide=1"},
        {"General", IDC_PREFS_AUTORESTORE, "write Autorestore from tray=0"},
        {"General", IDC_PREFS_MINIMIZE_ON_CLICK, "write Allow minimization of IE=1"},
        {"General", IDC_PREFS_START_IN_TRAY, "write Hide into the system tray on start=1"},
        {"Appearance", IDC_PREFS_CLOSE_ACTIVE_ONLY, "write only on active IE button=0"},
        {"Appearance", IDC_PREFS_MIDDLE_CLICK, "write Middle click closes a window=0"},
        {"Appearance", IDC_PREFS_SHOW_ICONS, "write Show window icons=0"},
        {"Advanced", IDC_PREFS_CATCH_EXPLORER, "write Catch Windows Explorer windows=0"},
        {"Advanced", IDC_PREFS_CATCH_OTHER_BROWSERS, "write Catch other browsers=0"},
    };
    for (const auto& [pageName, id, written] : cases) {
        SCOPED_TRACE(id);
        selectPage(pageName);
        host_.takeLog();
        click(id);
        EXPECT_EQ(host_.takeLog(), Log{written});
    }
    ASSERT_TRUE(close());
    EXPECT_TRUE(host_.takeLog().empty()) << "nothing was flagged for the close";
    EXPECT_EQ(app::readDwordSetting(core::kSettingsKey, "Autohide", -1), 1);
    EXPECT_EQ(app::readDwordSetting(core::kSettingsKey, "Catch Windows Explorer windows", -1), 0);
    EXPECT_EQ(app::readDwordSetting(core::kSettingsKey, "Bar height", -1), -1);
}

TEST_F(Apply, ShowAtTopWritesTheEdgeCodeThenMovesTheBarAtOnce) {
    host_.values.dockEdge = 1;
    openAt("General");
    click(IDC_PREFS_SHOW_AT_TOP);
    EXPECT_EQ(host_.takeLog(), (Log{"write Show on top of desktop=3", "dockEdgeChanged"}));
    EXPECT_EQ(host_.values.dockEdge, 3);
    click(IDC_PREFS_SHOW_AT_TOP);
    EXPECT_EQ(host_.takeLog(), (Log{"write Show on top of desktop=1", "dockEdgeChanged"}));
    ASSERT_TRUE(close());
    EXPECT_TRUE(host_.takeLog().empty());
}

TEST_F(Apply, CloseButtonsRepaintTheBarAndSteerTheActiveOnlyBox) {
    openAt("Appearance");
    ui_->call([&] { ValidateRect(host_.bar, nullptr); });
    const int paints = host_.barPaints;
    click(IDC_PREFS_SHOW_CLOSE);
    EXPECT_EQ(host_.takeLog(), (Log{"write Show close button on IE buttons=0"}));
    EXPECT_FALSE(IsWindowEnabled(control(IDC_PREFS_CLOSE_ACTIVE_ONLY)));
    EXPECT_TRUE(GetUpdateRect(host_.bar, nullptr, FALSE) || host_.barPaints > paints)
        << "the bar was not invalidated";
    click(IDC_PREFS_SHOW_CLOSE);
    EXPECT_TRUE(IsWindowEnabled(control(IDC_PREFS_CLOSE_ACTIVE_ONLY)));
    host_.takeLog();
    ASSERT_TRUE(close());
}

TEST_F(Apply, CurrentDesktopOnlyTellsTheBarAtOnce) {
    openAt("Advanced");
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_CURRENT_DESKTOP_ONLY), BST_CHECKED);
    click(IDC_PREFS_CURRENT_DESKTOP_ONLY);
    EXPECT_EQ(host_.takeLog(), (Log{"write Only windows of the current desktop=0", "desktopFilterChanged"}));
    EXPECT_FALSE(host_.values.currentDesktopOnly);
    ASSERT_TRUE(close());
    EXPECT_TRUE(host_.takeLog().empty());
}

TEST_F(Apply, TheBarsListAndTheMonitorBoxWriteTheirValuesAndMakeTheBarsAgain) {
    host_.values.barsOn = core::kBarsOnChosen;
    host_.values.barMonitor = "\\\\.\\GONE";
    openAt("Advanced");
    HWND list = control(IDC_PREFS_BARS_ON);
    // The primary, every monitor, each monitor there now, then the chosen one that is not: shown chosen.
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    EXPECT_EQ(count, 3 + GetSystemMetrics(SM_CMONITORS));
    EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), count - 1);
    const auto choose = [&](int entry) {
        ui_->call([&] {
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
            SendMessageW(page(), WM_COMMAND, MAKEWPARAM(IDC_PREFS_BARS_ON, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        });
    };
    choose(0);
    EXPECT_EQ(host_.takeLog(), (Log{"write Bars on=0", "barsChanged"}));
    choose(2);
    EXPECT_EQ(host_.values.barMonitor.rfind("\\\\.\\", 0), 0u) << host_.values.barMonitor;
    EXPECT_EQ(host_.takeLog(),
              (Log{"write Bar monitor=" + host_.values.barMonitor, "write Bars on=2", "barsChanged"}));
    click(IDC_PREFS_BUTTONS_BY_MONITOR);
    EXPECT_EQ(host_.takeLog(), (Log{"write Buttons on the bar of the window's monitor=0", "barsChanged"}));
    ASSERT_TRUE(close());
    EXPECT_TRUE(host_.takeLog().empty());
}

TEST_F(Apply, ForcePlacementPositionsTheBarOnClose) {
    openAt("Advanced");
    click(IDC_PREFS_FORCE_OVER_FULLSCREEN);
    EXPECT_EQ(host_.takeLog(), (Log{"write Force placement over fullscreen popups=0"}));
    ASSERT_TRUE(close());
    EXPECT_EQ(host_.takeLog(), (Log{"positionBar"}));
}

TEST_F(Apply, RadiosWriteInTheirOrderAndSteerThePositionEdits) {
    openAt("Browser windows");
    EXPECT_FALSE(IsWindowEnabled(control(IDC_PREFS_ALIGN_LEFT)));
    click(IDC_PREFS_ALIGN);
    EXPECT_EQ(host_.takeLog(), (Log{"write Align browser windows=1", "write Maximize browser windows=0"}));
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_ALIGN), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_MAXIMIZE), BST_UNCHECKED);
    for (int id : {IDC_PREFS_ALIGN_LEFT, IDC_PREFS_ALIGN_TOP, IDC_PREFS_ALIGN_WIDTH, IDC_PREFS_ALIGN_HEIGHT})
        EXPECT_TRUE(IsWindowEnabled(control(id))) << id;
    click(IDC_PREFS_DONT_CHANGE);
    EXPECT_EQ(host_.takeLog(), (Log{"write Align browser windows=0", "write Maximize browser windows=0"}));
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_DONT_CHANGE), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(control(IDC_PREFS_ALIGN_WIDTH)));
    click(IDC_PREFS_MAXIMIZE);
    click(IDC_PREFS_MAXIMIZE);
    EXPECT_EQ(host_.takeLog(), (Log{"write Maximize browser windows=1", "write Align browser windows=0",
                                    "write Maximize browser windows=1", "write Align browser windows=0"}));
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_MAXIMIZE), BST_CHECKED);
    ASSERT_TRUE(close());
    EXPECT_EQ(host_.takeLog(), (Log{"placeBrowsers"}));
}

TEST_F(Apply, BarHeightBelowTwentyFourIsRefusedAndKeepsTheFocus) {
    openAt("Appearance");
    HWND edit = control(IDC_PREFS_BAR_HEIGHT);
    enter(IDC_PREFS_BAR_HEIGHT, "23");
    EXPECT_TRUE(expectBadValue());
    EXPECT_TRUE(kit::waitFor([&] { return focus() == edit; }));
    EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), MAKELRESULT(0, 2)) << "the refused text is not selected";
    EXPECT_TRUE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
    EXPECT_TRUE(host_.takeLog().empty());
    EXPECT_EQ(host_.values.barHeight, 24);

    enter(IDC_PREFS_BAR_HEIGHT, "24");
    EXPECT_TRUE(kit::waitFor([&] { return !host_.log().empty(); }));
    EXPECT_TRUE(noMessageBox());
    EXPECT_EQ(host_.takeLog(), (Log{"write Bar height=24"}));
    EXPECT_FALSE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
    ASSERT_TRUE(close());
    EXPECT_EQ(host_.takeLog(), (Log{"positionBar"}));
    EXPECT_EQ(app::readDwordSetting(core::kSettingsKey, "Bar height", -1), 24);
}

TEST_F(Apply, AnUnmodifiedEditIsNotJudged) {
    openAt("Appearance");
    HWND edit = control(IDC_PREFS_BAR_HEIGHT);
    type(IDC_PREFS_BAR_HEIGHT, "5");
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
    leaveEditAsync();
    kit::waitFor([&] { return focus() != edit; });
    EXPECT_TRUE(noMessageBox());
    EXPECT_TRUE(host_.takeLog().empty());
    ASSERT_TRUE(close());
}

TEST_F(Apply, EnterOrEscapeWithABadValueReportsItAndStillCloses) {
    for (int command : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(command);
        openAt("Appearance");
        type(IDC_PREFS_BAR_HEIGHT, "23");
        PostMessageA(dialogWindow(), WM_COMMAND, command, 0);
        EXPECT_TRUE(expectBadValue());
        EXPECT_TRUE(kit::waitFor([&] { return !running_; }));
        EXPECT_TRUE(noMessageBox()) << "the refused text was judged twice";
        EXPECT_TRUE(host_.takeLog().empty());
        EXPECT_EQ(host_.lastPage, IDD_PREFS_APPEARANCE);
    }
}

TEST_F(Apply, EnterWithAGoodValueStoresItBeforeTheBarIsPositioned) {
    openAt("Appearance");
    type(IDC_PREFS_BAR_HEIGHT, "40");
    ASSERT_TRUE(close(IDOK));
    EXPECT_EQ(host_.takeLog(), (Log{"write Bar height=40", "positionBar"}));
}

TEST_F(Apply, PositionEditsAreJudgedAgainstTheScreenAndTheStoredEdges) {
    host_.values.maximizeBrowsers = 0;
    host_.values.alignBrowsers = 1;
    host_.values.alignLeft = 400;
    openAt("Browser windows");
    enter(IDC_PREFS_ALIGN_WIDTH, "");
    EXPECT_TRUE(expectBadValue()) << "an empty width";
    enter(IDC_PREFS_ALIGN_WIDTH, "700");
    EXPECT_TRUE(expectBadValue()) << "400 + 700 passes 1024";
    enter(IDC_PREFS_ALIGN_WIDTH, "624");
    EXPECT_TRUE(kit::waitFor([&] { return host_.log().size() == 1; }));
    enter(IDC_PREFS_ALIGN_LEFT, "300");
    EXPECT_TRUE(kit::waitFor([&] { return host_.log().size() == 2; }));
    enter(IDC_PREFS_ALIGN_WIDTH, "700");
    EXPECT_TRUE(kit::waitFor([&] { return host_.log().size() == 3; }));
    enter(IDC_PREFS_ALIGN_TOP, "769");
    EXPECT_TRUE(expectBadValue());
    enter(IDC_PREFS_ALIGN_TOP, "4294967296");
    EXPECT_TRUE(expectBadValue()) << "digits beyond 32 bits";
    enter(IDC_PREFS_ALIGN_TOP, "268");
    EXPECT_TRUE(kit::waitFor([&] { return host_.log().size() == 4; }));
    enter(IDC_PREFS_ALIGN_HEIGHT, "500");
    EXPECT_TRUE(kit::waitFor([&] { return host_.log().size() == 5; }));
    EXPECT_EQ(host_.takeLog(), (Log{"write Width=624", "write Left=300", "write Width=700", "write Top=268",
                                    "write Height=500"}));
    ASSERT_TRUE(close());
    EXPECT_EQ(host_.takeLog(), (Log{"placeBrowsers"}));
}

TEST_F(Apply, TheCommandEditTakesAnyText) {
    openAt("General");
    enter(IDC_PREFS_COMMAND, "");
    EXPECT_TRUE(kit::waitFor([&] { return !host_.log().empty(); }));
    EXPECT_EQ(host_.takeLog(), (Log{"write Internet Explorer path="}));
    EXPECT_EQ(app::readStringSetting(core::kSettingsKey, "Internet Explorer path", "x"), "");
    ASSERT_TRUE(close());
}

TEST_F(Apply, HotKeysAreTakenWhenTheirPageGoesAndOnlyWhenChanged) {
    openAt("Hot keys");
    selectPage("Advanced");
    EXPECT_TRUE(host_.takeLog().empty()) << "unchanged keys wrote or registered something";

    selectPage("Hot keys");
    SendMessageA(control(IDC_PREFS_HOTKEY_HIDE), HKM_SETHOTKEY,
                 MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    selectPage("General");
    EXPECT_EQ(host_.takeLog(), (Log{"unregister 240", "register 240 6 120", "write Hot Key Hide=393336"}));
    EXPECT_EQ(host_.values.hotKeyHide, 0x00060078);
    EXPECT_EQ(host_.values.hotKeyNew, 0x0003006B);

    selectPage("Hot keys");
    // The focus key shows its default: Ctrl+Alt and the keypad's multiply.
    EXPECT_EQ(SendMessageA(control(IDC_PREFS_HOTKEY_FOCUS), HKM_GETHOTKEY, 0, 0) & 0xFFFF, 0x066A);
    SendMessageA(control(IDC_PREFS_HOTKEY_NEW), HKM_SETHOTKEY, 0, 0);
    SendMessageA(control(IDC_PREFS_HOTKEY_FOCUS), HKM_SETHOTKEY, MAKEWORD(VK_F11, HOTKEYF_CONTROL), 0);
    ASSERT_TRUE(close());
    EXPECT_EQ(host_.takeLog(), (Log{"unregister 241", "write Hot Key New=0", "unregister 242",
                                    "register 242 2 122", "write Hot Key Focus=131194"}));
    EXPECT_EQ(app::readDwordSetting(core::kSettingsKey, "Hot Key Hide", -1), 0x00060078);
}

TEST_F(Apply, AChangedHotKeyIsRegisteredAndWorks) {
    openAt("Hot keys");
    SendMessageA(control(IDC_PREFS_HOTKEY_HIDE), HKM_SETHOTKEY,
                 MAKEWORD(VK_F8, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    selectPage("General");
    // Taken by the stand-in bar: nobody else may register the same combination now.
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F8));
    EXPECT_EQ(GetLastError(), 1409u);
    ASSERT_TRUE(close());
    ui_->call([&] { UnregisterHotKey(host_.bar, prefs::kHotKeyIdHide); });
}

} // namespace
} // namespace prefs_test
