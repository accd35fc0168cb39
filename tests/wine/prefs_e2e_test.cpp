// The preferences end to end: the real bar program, its "Preferences" command, and the dialog driven
// from outside as a user would drive it.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "core/program_name.h"
#include "kit/browsers.h"
#include "resources/resource.h"

namespace {

constexpr UINT kPreferencesCommand = 131;

RECT rectOf(HWND w) {
    RECT rc{};
    GetWindowRect(w, &rc);
    return rc;
}

// The text of another process's control: only the control itself knows it.
std::string textOf(HWND w) {
    char text[512] = {};
    SendMessageA(w, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

DWORD readDword(const char* name) {
    DWORD value = 0xDEADBEEF, size = sizeof(value);
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Corvane!", name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

class PreferencesE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        e2e::deleteSettingsKey();
        ASSERT_EQ(e2e::findBar(), nullptr) << "a bar from an earlier test is still running";
    }
    void TearDown() override {
        // Whatever a failed test left open is cancelled, so the bar can end.
        for (int i = 0; i < 20 && (dialog_ = findDialog()) != nullptr; ++i) {
            PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
            if (HWND box = FindWindowA("#32770", core::kProgramName)) PostMessageA(box, WM_COMMAND, IDOK, 0);
            Sleep(100);
        }
        if (bar_ && IsWindow(bar_)) e2e::closeBar(proc_, bar_);
        proc_.kill();
        e2e::deleteSettingsKey();
    }
    void start() { ASSERT_TRUE(e2e::startBar(proc_, &bar_)); }
    static HWND findDialog() { return FindWindowA("#32770", "Corvane! Preferences"); }
    HWND openPreferences() {
        PostMessageA(bar_, WM_COMMAND, kPreferencesCommand, 0);
        kit::waitFor(
            [&] { return (dialog_ = findDialog()) != nullptr && IsWindowVisible(dialog_) && page(); });
        return dialog_;
    }
    bool closePreferences(UINT command = IDOK) {
        PostMessageA(dialog_, WM_COMMAND, command, 0);
        return kit::waitFor([&] { return findDialog() == nullptr; });
    }
    HWND page() const { return dialog_ ? FindWindowExA(dialog_, nullptr, "#32770", nullptr) : nullptr; }
    HWND control(int id) const { return GetDlgItem(page(), id); }
    // Selects the index-th page and waits until it shows the control.
    bool selectPage(int index, int controlId) {
        HWND tree = GetDlgItem(dialog_, IDC_PREFS_TREE);
        HTREEITEM item = TreeView_GetRoot(tree);
        for (int i = 0; i < index; ++i)
            item = TreeView_GetNextSibling(tree, item);
        TreeView_SelectItem(tree, item);
        return kit::waitFor([&] { return control(controlId) != nullptr; });
    }
    HWND focusInBar() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(bar_, nullptr), &info);
        return info.hwndFocus;
    }
    // Types into an edit of the page, as left by the user: the text is new and marked modified.
    void type(int id, const char* text) {
        HWND edit = control(id);
        SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
    }
    void leaveEdit() {
        PostMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, IDC_PREFS_TREE)),
                     TRUE);
    }
    bool dismissBadValue() {
        HWND box = nullptr;
        if (!kit::waitFor([&] { return (box = FindWindowA("#32770", core::kProgramName)) != nullptr; }))
            return false;
        const bool bad = textOf(FindWindowExA(box, nullptr, "Static", "Bad value!")) == "Bad value!";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        kit::waitFor([&] { return !IsWindow(box); });
        return bad;
    }

    kit::Process proc_;
    HWND bar_ = nullptr;
    HWND dialog_ = nullptr;
};

TEST_F(PreferencesE2E, FirstOpeningShowsGeneralAndTheNextOpeningTheLastPage) {
    start();
    ASSERT_NE(openPreferences(), nullptr);
    EXPECT_EQ(GetWindow(dialog_, GW_OWNER), bar_);
    EXPECT_NE(control(IDC_PREFS_SHOW_AT_TOP), nullptr) << "General is not the first page";
    ASSERT_TRUE(selectPage(3, IDC_PREFS_HOTKEY_HIDE));
    ASSERT_TRUE(closePreferences());
    ASSERT_NE(openPreferences(), nullptr);
    EXPECT_NE(control(IDC_PREFS_HOTKEY_HIDE), nullptr) << "Hot keys was not shown again";
    ASSERT_TRUE(closePreferences(IDCANCEL));
    EXPECT_FALSE(e2e::settingsKeyExists()) << "looking at the pages wrote the registry";
}

TEST_F(PreferencesE2E, ABarHeightOf23IsRefusedAnd24IsTakenByTheBarOnClose) {
    e2e::writeSetting("Bar height", 40);
    start();
    ASSERT_EQ(rectOf(bar_).top, 768 - 40);
    ASSERT_NE(openPreferences(), nullptr);
    ASSERT_TRUE(selectPage(1, IDC_PREFS_BAR_HEIGHT));
    HWND edit = control(IDC_PREFS_BAR_HEIGHT);
    EXPECT_EQ(textOf(edit), "40");
    type(IDC_PREFS_BAR_HEIGHT, "23");
    leaveEdit();
    EXPECT_TRUE(dismissBadValue());
    EXPECT_TRUE(kit::waitFor([&] { return focusInBar() == edit; })) << "the focus left the refused edit";
    EXPECT_EQ(readDword("Bar height"), 40u);
    type(IDC_PREFS_BAR_HEIGHT, "24");
    leaveEdit();
    EXPECT_TRUE(kit::waitFor([&] { return readDword("Bar height") == 24; }));
    EXPECT_EQ(rectOf(bar_).top, 768 - 40) << "the bar moved before the dialog closed";
    ASSERT_TRUE(closePreferences());
    EXPECT_TRUE(kit::waitFor([&] { return rectOf(bar_).top == 768 - 24; }));
    EXPECT_EQ(rectOf(bar_).bottom, 768);
}

TEST_F(PreferencesE2E, ClearingShowAtTopMovesTheBarToTheBottomBeforeTheDialogCloses) {
    e2e::writeSetting("Show on top of desktop", 1);
    start();
    ASSERT_EQ(rectOf(bar_).top, 0);
    ASSERT_NE(openPreferences(), nullptr);
    EXPECT_EQ(SendMessageA(control(IDC_PREFS_SHOW_AT_TOP), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(control(IDC_PREFS_SHOW_AT_TOP), BM_CLICK, 0, 0);
    EXPECT_TRUE(kit::waitFor([&] { return readDword("Show on top of desktop") == 3; }));
    EXPECT_TRUE(kit::waitFor([&] { return rectOf(bar_).bottom == 768; }));
    EXPECT_NE(findDialog(), nullptr);
    ASSERT_TRUE(closePreferences());
}

TEST_F(PreferencesE2E, EveryValueWrittenIsReadBackByTheNextStart) {
    start();
    ASSERT_NE(openPreferences(), nullptr);
    SendMessageA(control(IDC_PREFS_SHOW_AT_TOP), BM_CLICK, 0, 0);
    ASSERT_TRUE(selectPage(2, IDC_PREFS_ALIGN));
    SendMessageA(control(IDC_PREFS_ALIGN), BM_CLICK, 0, 0);
    ASSERT_TRUE(selectPage(1, IDC_PREFS_BAR_HEIGHT));
    type(IDC_PREFS_BAR_HEIGHT, "33");
    ASSERT_TRUE(closePreferences());
    EXPECT_TRUE(kit::waitFor([&] { return rectOf(bar_).bottom == 33; }));
    ASSERT_TRUE(e2e::closeBar(proc_, bar_));

    start();
    EXPECT_EQ(rectOf(bar_).top, 0);
    EXPECT_EQ(rectOf(bar_).bottom, 33);
    ASSERT_NE(openPreferences(), nullptr);
    ASSERT_TRUE(selectPage(2, IDC_PREFS_ALIGN));
    EXPECT_EQ(SendMessageA(control(IDC_PREFS_ALIGN), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(IsWindowEnabled(control(IDC_PREFS_ALIGN_LEFT)));
    ASSERT_TRUE(closePreferences());
}

TEST_F(PreferencesE2E, AnAcceptedBackgroundColourRepaintsTheBarAtOnce) {
    start();
    RECT bar = rectOf(bar_);
    // A point of the bar right of the dialog and clear of its own buttons, where only the background shows.
    const POINT probe{bar.left + 800, bar.top + (bar.bottom - bar.top) / 2};
    ASSERT_NE(openPreferences(), nullptr);
    ASSERT_TRUE(selectPage(1, IDC_PREFS_BACKGROUND_COLOUR));
    PostMessageA(control(IDC_PREFS_BACKGROUND_COLOUR), BM_CLICK, 0, 0);
    HWND popup = nullptr;
    ASSERT_TRUE(kit::waitFor(
        [&] { return (popup = FindWindowA("CorvaneColourPopup", nullptr)) && IsWindowVisible(popup); }));
    // "Default", the first cell (black), then red two rows down (row 2, column 0).
    for (UINT key : {VK_UP, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
        SendMessageA(popup, WM_KEYDOWN, key, 0);
    EXPECT_TRUE(kit::waitFor([&] { return readDword("Bar background color") == RGB(255, 0, 0); }));
    EXPECT_TRUE(kit::waitFor([&] { return kit::screenPixel(probe) == RGB(255, 0, 0); }))
        << "the bar was not repainted in the new colour while the dialog is open: " << std::hex
        << kit::screenPixel(probe);
    ASSERT_TRUE(closePreferences());
}

TEST_F(PreferencesE2E, AcceptedPlacementIsAppliedToTheBrowserWindowsWhenTheDialogCloses) {
    e2e::TestBrowsers browsers;
    HWND browser = browsers.open("page - Microsoft Internet Explorer", "IEFrame", false, 50, 60);
    ASSERT_NE(browser, nullptr);
    e2e::writeSetting("Maximize browser windows", 0);
    start();
    ASSERT_NE(openPreferences(), nullptr);
    ASSERT_TRUE(selectPage(2, IDC_PREFS_ALIGN));
    SendMessageA(control(IDC_PREFS_ALIGN), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(control(IDC_PREFS_ALIGN_LEFT)));
    type(IDC_PREFS_ALIGN_LEFT, "10");
    type(IDC_PREFS_ALIGN_TOP, "20");
    type(IDC_PREFS_ALIGN_WIDTH, "300");
    type(IDC_PREFS_ALIGN_HEIGHT, "200");
    kit::waitFor([&] { return readDword("Width") == 300; });
    EXPECT_EQ(rectOf(browser).left, 50) << "the browser was placed before the dialog closed";
    EXPECT_TRUE(closePreferences());
    EXPECT_TRUE(kit::waitFor([&] {
        RECT rc = rectOf(browser);
        return rc.left == 10 && rc.top == 20 && rc.right == 310 && rc.bottom == 220;
    }));
    EXPECT_EQ(readDword("Height"), 200u);
    EXPECT_EQ(readDword("Align browser windows"), 1u);
    EXPECT_EQ(readDword("Maximize browser windows"), 0u);
}

} // namespace
