// The preferences dialog as the user meets it: its window, the tree of pages, the page templates, the
// help texts and the quick-help tip.
#include "kit/prefs_fixture.h"

#include <algorithm>
#include <map>

#include "core/dpi_scale.h"
#include "prefs/quick_help.h"
#include "win/dpi.h"

namespace prefs_test {
namespace {

using Dialog = PrefsDialogTest;

// Asks the page for the quick help of a control (null with id -1: a label) as F1 or the "?" button would.
// Made on the dialog's thread, as the system does: a structure from another thread is not read.
LRESULT askHelp(UiThread& ui, HWND page, int id, HWND control, POINT at) {
    return ui.get([&] {
        HELPINFO info{sizeof(info), HELPINFO_WINDOW, id, control, 0, at};
        return SendMessageA(page, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    });
}

TEST_F(Dialog, OpensOwnedByTheBarWithTheTreeCloseButtonAndTip) {
    HWND d = open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(windowText(d), "Corvane! Preferences");
    EXPECT_EQ(GetWindow(d, GW_OWNER), host_.bar);
    EXPECT_FALSE(IsWindowEnabled(host_.bar)) << "the bar must be disabled while the dialog runs";
    EXPECT_TRUE(GetWindowLongPtrA(d, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    HWND tree = GetDlgItem(d, IDC_PREFS_TREE);
    std::vector<std::string> pages;
    for (const auto& item : treeItems(tree))
        pages.push_back(item.second);
    EXPECT_EQ(pages, (Log{"General", "Appearance", "Browser windows", "Hot keys", "Advanced"}));
    const LONG_PTR treeStyle = GetWindowLongPtrA(tree, GWL_STYLE);
    for (LONG_PTR bit :
         {TVS_HASBUTTONS, TVS_HASLINES, TVS_LINESATROOT, TVS_DISABLEDRAGDROP, TVS_SHOWSELALWAYS})
        EXPECT_TRUE(treeStyle & bit) << bit;
    EXPECT_EQ(windowText(GetDlgItem(d, IDOK)), "Close");
    EXPECT_EQ(windowText(GetDlgItem(d, IDC_PREFS_TIP)),
              "Tip: Use question button at the right of titlebar to get quick help about options.");
    ASSERT_TRUE(close());
    EXPECT_TRUE(IsWindowEnabled(host_.bar));
}

TEST_F(Dialog, FirstOpeningShowsGeneralPlacedAfterTheTreeWithTheFocusOnTheTree) {
    HWND d = open();
    HWND p = page();
    ASSERT_NE(p, nullptr);
    EXPECT_NE(GetDlgItem(p, IDC_PREFS_SHOW_AT_TOP), nullptr);
    RECT rc = childRect(p);
    // 130 and 2 at 96 DPI (the high-DPI run checks them scaled), but never over the tree: Wine's stand-in for
    // the template's font is wider, and the tree reaches past 130 there.
    const RECT tree = childRect(GetDlgItem(d, IDC_PREFS_TREE));
    const int dpi = win::systemDpi();
    EXPECT_EQ(rc.left, std::max(core::scaleForDpi(130, dpi),
                                static_cast<int>(tree.right) + core::scaleForDpi(6, dpi)));
    RECT client{}, shown{};
    GetClientRect(d, &client);
    GetWindowRect(p, &shown);
    EXPECT_LE(rc.left + (shown.right - shown.left), client.right) << "the page must fit beside the tree";
    EXPECT_EQ(rc.top, core::scaleForDpi(2, win::systemDpi()));
    EXPECT_TRUE(IsWindowVisible(p));
    EXPECT_EQ(GetWindow(GetDlgItem(d, IDC_PREFS_TREE), GW_HWNDNEXT), p);
    EXPECT_EQ(focus(), GetDlgItem(d, IDC_PREFS_TREE));
    EXPECT_TRUE(GetWindowLongPtrA(p, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_TRUE(GetWindowLongPtrA(p, GWL_STYLE) & WS_CHILD);
    ASSERT_TRUE(close());
    EXPECT_EQ(host_.lastPage, IDD_PREFS_GENERAL);
}

TEST_F(Dialog, SwitchingDestroysTheOldPageAndTheNextOpeningReturnsToTheLastPage) {
    open();
    HWND general = page();
    const LONG generalLeft = childRect(general).left;
    selectPage("Hot keys");
    EXPECT_FALSE(IsWindow(general));
    HWND hotKeys = page();
    ASSERT_NE(hotKeys, nullptr);
    EXPECT_NE(GetDlgItem(hotKeys, IDC_PREFS_HOTKEY_HIDE), nullptr);
    EXPECT_EQ(GetDlgItem(hotKeys, IDC_PREFS_SHOW_AT_TOP), nullptr);
    EXPECT_EQ(childRect(hotKeys).left, generalLeft);
    ASSERT_TRUE(close());
    EXPECT_EQ(host_.lastPage, IDD_PREFS_HOTKEYS);

    open();
    ASSERT_NE(page(), nullptr);
    EXPECT_NE(control(IDC_PREFS_HOTKEY_NEW), nullptr);
    ASSERT_TRUE(close(IDCANCEL));
}

TEST_F(Dialog, AnUnknownLastPageSelectsNothingUntilTheTreeTakesTheFocus) {
    // No item matches, so the dialog selects none; the tree itself selects its first item when it gets
    // the initial focus, so the user still lands on "General".
    host_.lastPage = 999;
    ASSERT_NE(open(), nullptr);
    kit::waitFor([&] { return page() != nullptr; }, 2000);
    EXPECT_TRUE(!page() || GetDlgItem(page(), IDC_PREFS_SHOW_AT_TOP)) << "the page is not General";
    ASSERT_TRUE(close());
    EXPECT_TRUE(host_.lastPage == 999 || host_.lastPage == IDD_PREFS_GENERAL);
}

struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
    LONG_PTR style; // bits that must be set
};

void expectControls(HWND page, const std::vector<ExpectedControl>& expected) {
    for (const ExpectedControl& c : expected) {
        SCOPED_TRACE(c.id);
        HWND w = GetDlgItem(page, c.id);
        ASSERT_NE(w, nullptr);
        char cls[64] = {};
        GetClassNameA(w, cls, sizeof(cls));
        EXPECT_STREQ(cls, c.className);
        if (c.text) {
            EXPECT_EQ(windowText(w), c.text);
        }
        LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
        // The dialog manager turns a bordered edit's WS_BORDER into a sunken client edge.
        if (GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) style |= WS_BORDER;
        EXPECT_EQ(style & c.style, c.style);
    }
}

// What a user would notice of a layout: controls on top of each other, or outside their window; and
// within a page, two controls answering to one id, or a control without its quick help.
void expectTidyLayout(HWND parent, bool withHelp) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[16] = {};
        GetClassNameA(c, cls, sizeof(cls));
        // A group box frames the others by design. The page stands at a fixed pixel offset, which Wine's
        // wider dialog font puts over the tree's right edge: its place is checked on its own.
        const bool groupBox =
            lstrcmpiA(cls, "Button") == 0 && (GetWindowLongPtrA(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        if (!groupBox && lstrcmpA(cls, "#32770") != 0) children.push_back(c);
    }
    RECT client;
    GetClientRect(parent, &client);
    for (size_t i = 0; i < children.size(); ++i) {
        const RECT a = childRect(children[i]);
        const int id = GetDlgCtrlID(children[i]);
        SCOPED_TRACE(windowText(children[i]) + " " + std::to_string(id));
        RECT inside;
        EXPECT_TRUE(IntersectRect(&inside, &a, &client) && EqualRect(&inside, &a)) << "outside its window";
        for (size_t j = i + 1; j < children.size(); ++j) {
            const RECT b = childRect(children[j]);
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &a, &b)) << "overlaps " << windowText(children[j]);
            EXPECT_TRUE(id == -1 || id != GetDlgCtrlID(children[j])) << "shares its id";
        }
        char help[512] = {};
        EXPECT_TRUE(!withHelp || id == -1 ||
                    LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), help, sizeof(help)) > 0)
            << "has no quick help";
    }
}

TEST_F(Dialog, PagesHoldTheirControlsUnoverlappedEachWithItsQuickHelp) {
    HWND d = open();
    expectTidyLayout(d, false);
    const LONG_PTR check = BS_AUTOCHECKBOX | WS_TABSTOP;
    const LONG_PTR number = ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    const std::vector<std::vector<ExpectedControl>> pages = {
        {{IDC_PREFS_SHOW_AT_TOP, "Button", "Show at top of desktop", check},
         {IDC_PREFS_MINIMIZE_ON_CLICK, "Button", "Allow IE window minimization by second click on button",
          check | BS_MULTILINE},
         {IDC_PREFS_COMMAND, "Edit", nullptr, ES_AUTOHSCROLL | WS_TABSTOP},
         {IDC_PREFS_BROWSE, "Button", "...", WS_TABSTOP}},
        {{IDC_PREFS_ACTIVE_COLOUR, "Button", "Active IE button color", 0},
         {IDC_PREFS_FONT, "Button", "IE buttons font", WS_TABSTOP},
         {IDC_PREFS_BAR_HEIGHT, "Edit", "24", number},
         {IDC_PREFS_CLOSE_ACTIVE_ONLY, "Button", "on active IE button only", check},
         {IDC_PREFS_ATTENTION_COLOUR, "Button", "Attention button color", 0},
         {IDC_PREFS_MIDDLE_CLICK, "Button", "Middle click closes a window", check},
         {IDC_PREFS_SHOW_ICONS, "Button", "Show window icons on the buttons", check}},
        {{IDC_PREFS_DONT_CHANGE, "Button", "Don't change", BS_RADIOBUTTON},
         {IDC_PREFS_ALIGN, "Button", "Align to position :", BS_RADIOBUTTON},
         {IDC_PREFS_ALIGN_WIDTH, "Edit", "700", number}},
        {{IDC_PREFS_HOTKEY_NEW, "msctls_hotkey32", nullptr, WS_BORDER | WS_TABSTOP}},
        {{IDC_PREFS_CATCH_EXPLORER, "Button", "Catch Windows Explorer windows (requires program restart)",
          check},
         {IDC_PREFS_CATCH_OTHER_BROWSERS, "Button", "Catch other browsers (requires program restart)", check},
         {IDC_PREFS_CURRENT_DESKTOP_ONLY, "Button", "Only windows of the current desktop", check}}};
    const char* names[] = {"General", "Appearance", "Browser windows", "Hot keys", "Advanced"};
    for (size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(names[i]);
        selectPage(names[i]);
        expectControls(page(), pages[i]);
        expectTidyLayout(page(), true);
    }
    selectPage("General");
    EXPECT_FALSE(GetWindowLongPtrA(control(IDC_PREFS_COMMAND), GWL_STYLE) & ES_NUMBER);
    selectPage("Browser windows");
    EXPECT_FALSE(GetWindowLongPtrA(control(IDC_PREFS_ALIGN), GWL_STYLE) & WS_TABSTOP);
    ASSERT_TRUE(close());
}

TEST_F(Dialog, PagesShowTheSettingsWithTheirEnablingRules) {
    host_.values.showCloseGlyph = 0;
    host_.values.closeGlyphOnActiveOnly = 1;
    host_.values.maximizeBrowsers = 0;
    host_.values.alignLeft = -5;
    host_.values.dockEdge = 1;
    host_.values.browserCommand = "c:\\x.exe -a";
    host_.values.hotKeyHide = 0x00040041; // Shift+A
    open();
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_SHOW_AT_TOP), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_AUTORESTORE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_AUTOHIDE), BST_UNCHECKED);
    EXPECT_EQ(windowText(control(IDC_PREFS_COMMAND)), "c:\\x.exe -a");
    selectPage("Appearance");
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_SHOW_CLOSE), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_CLOSE_ACTIVE_ONLY), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(control(IDC_PREFS_CLOSE_ACTIVE_ONLY)));
    selectPage("Browser windows");
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_DONT_CHANGE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page(), IDC_PREFS_MAXIMIZE), BST_UNCHECKED);
    for (int id : {IDC_PREFS_ALIGN_LEFT, IDC_PREFS_ALIGN_TOP, IDC_PREFS_ALIGN_WIDTH, IDC_PREFS_ALIGN_HEIGHT})
        EXPECT_FALSE(IsWindowEnabled(control(id))) << id;
    EXPECT_EQ(windowText(control(IDC_PREFS_ALIGN_LEFT)), "4294967291");
    selectPage("Hot keys");
    EXPECT_EQ(SendMessageA(control(IDC_PREFS_HOTKEY_HIDE), HKM_GETHOTKEY, 0, 0) & 0xFFFF, 0x0141);
    EXPECT_EQ(SendMessageA(control(IDC_PREFS_HOTKEY_NEW), HKM_GETHOTKEY, 0, 0) & 0xFFFF, 0x066B);
    ASSERT_TRUE(close());
    EXPECT_TRUE(host_.takeLog().empty()) << "showing pages must change nothing";
}

TEST(HelpTexts, AreStoredExactlyUnderTheControlIds) {
    const std::map<int, std::string> texts = {
        {201, "Color for active IE button."},
        {202, "Text color for active IE button."},
        {204, "IE windows will be aligned to fixed position and size."},
        {205, "Active IE window will be minimized when you click on active IE button for the second time. "
              "If you hold <shift> button, all IE windows will be minimized."},
        {206, "After closing the last IE window Corvane! will hide in tray after 4 sec."},
        {207, "Restore Corvane! from tray when new IE window opens."},
        {208, "Sets height of Corvane! bar. Minimal value is 24 pixels."},
        {209, "Background color for Corvane! bar and nonactive IE buttons."},
        {216, "Sometimes applications opens HTML pages in Windows Explorer frames. This option "
              "enables/disables Windows Explorer windows catching. If option is enabled Corvane! will catch "
              "all WE windows, like \"My Computer\" and \"My Documents\"."},
        {218, "Close all opened IE windows when Corvane! exits. If you hold <shift> button when closing "
              "Corvane!, option will be inverted. In other words, if option checked and <shift> holded IE "
              "windows will not be closed, if option unchecked and <shift> holded IE windows will be "
              "closed."},
        {226, "Font settings for IE buttons. You can choose style, size and script of the font."},
        {227, "Corvane! bar will be placed over any fullscreen popup window."},
        {229, "Height of IE windows in pixels."},
        {233, "Hide all opened IE windows when you hide Corvane! in tray by hitting hide button or hot key. "
              "Windows will be restored when Corvane! is restored."},
        {234, "Hot key that hides Corvane!."},
        {235, "Hot key that opens a new IE window."},
        {236, "Browse for iexpore.exe file. It is located in \"Program Files\\Internet Explorer\" directory "
              "by default."},
        {237, "You can manually enter full path to iexplore.exe and add command line parameters. The "
              "\"-nohome\" parameter is added by default for quick IE opening. In this mode IE disables "
              "some menu items and hides some toolbar buttons. To resolve this just hit \"Stop\" button on "
              "the IE toolbar."},
        {239, "Position of the left edge of IE windows in pixels."},
        {241, "IE windows will be maximized automatically."},
        {246, "State and location of IE windows will not be changed."},
        {247, "Dock Corvane! bar at the top or bottom of desktop."},
        {248, "Open new Inernet Explorer window when Corvane! runs."},
        {250, "Shows/hides small close button on IE buttons. If you hold <shift> button when clicking on "
              "close button, all IE windows will be closed."},
        {251, "Show close button only on active IE button.  If you hold <shift> button when clicking on "
              "close button, all IE windows will be closed."},
        {252, "Corvane will start hidden in the tray."},
        {253, "Text color for IE buttons."},
        {255, "Position of the top edge of IE windows in pixels."},
        {258, "Width of IE windows in pixels."},
        {136, "Bad value!"},
    };
    for (const auto& [id, want] : texts) {
        char text[1024] = {};
        LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof(text));
        EXPECT_EQ(text, want) << id;
    }
    char none[16] = {};
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), 254, none, sizeof(none)), 0);
}

COLORREF pixelAt(HWND w, int x, int y) {
    HDC dc = GetDC(w);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

TEST_F(Dialog, QuickHelpOnTheBrowseButtonShowsItsTextCentredUnderIt) {
    open();
    HWND browse = control(IDC_PREFS_BROWSE);
    RECT button;
    GetWindowRect(browse, &button);
    EXPECT_TRUE(askHelp(*ui_, page(), IDC_PREFS_BROWSE, browse, POINT{5, 5}));
    auto tips = ownWindows(prefs::QuickHelpPopup::kClassName);
    ASSERT_EQ(tips.size(), 1u) << "no visible tip, or more than one";
    HWND tip = tips.front();
    RECT rc;
    GetWindowRect(tip, &rc);
    const int centre = button.left + (button.right - button.left) / 2;
    EXPECT_LE(std::abs((rc.left + rc.right) / 2 - centre), 1);
    EXPECT_EQ(rc.top, button.bottom + 6);
    EXPECT_EQ(ui_->get([] { return prefs::QuickHelpPopup::current()->text(); }).substr(0, 24),
              "Browse for iexpore.exe f");
    ui_->call([&] { UpdateWindow(tip); });
    EXPECT_EQ(pixelAt(tip, 2, 2), RGB(248, 227, 185));
    // The tip does not take the focus from the dialog, and the next key closes it.
    EXPECT_NE(focus(), tip);
    ui_->call([] { keybd_event(VK_SHIFT, 0, 0, 0); });
    ui_->call([] { keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0); });
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(tip); }, 3000));
    ASSERT_TRUE(close());
}

TEST_F(Dialog, QuickHelpOnALabelShowsNothingAndAClickClosesATip) {
    openAt("Hot keys");
    askHelp(*ui_, page(), -1, nullptr, POINT{300, 300});
    EXPECT_EQ(FindWindowA(prefs::QuickHelpPopup::kClassName, nullptr), nullptr);

    askHelp(*ui_, page(), IDC_PREFS_HOTKEY_HIDE, control(IDC_PREFS_HOTKEY_HIDE), POINT{300, 300});
    auto tips = ownWindows(prefs::QuickHelpPopup::kClassName);
    ASSERT_EQ(tips.size(), 1u);
    ui_->call([&] { SendMessageA(tips.front(), WM_LBUTTONDOWN, MK_LBUTTON, 0); });
    EXPECT_FALSE(IsWindow(tips.front()));
    ASSERT_TRUE(close());
}

TEST(QuickHelpPopup, UsesTheMousePointWhenThereIsNoControlAndStaysOnTheScreen) {
    auto* tip = prefs::QuickHelpPopup::open(nullptr, "Some help text.", POINT{1020, 300}, {});
    ASSERT_NE(tip, nullptr);
    RECT rc;
    GetWindowRect(tip->hwnd(), &rc);
    EXPECT_EQ(rc.top, 300);
    EXPECT_LE(rc.right, 1024);
    EXPECT_GT(rc.right - rc.left, 8 + 6);
    UpdateWindow(tip->hwnd());
    EXPECT_EQ(pixelAt(tip->hwnd(), 1, 1), RGB(248, 227, 185));
    HWND w = tip->hwnd();
    // A second tip replaces the first.
    auto* second = prefs::QuickHelpPopup::open(nullptr, "Other.", POINT{100, 760}, {});
    EXPECT_FALSE(IsWindow(w));
    ASSERT_NE(second, nullptr);
    GetWindowRect(second->hwnd(), &rc);
    EXPECT_LE(rc.bottom, 768);
    second->close();
    EXPECT_EQ(prefs::QuickHelpPopup::current(), nullptr);
}

} // namespace
} // namespace prefs_test
