// The buttons that open the system's dialogs: the font of the browser buttons and the browser program.
#include "kit/prefs_fixture.h"

namespace prefs_test {
namespace {

class SystemDialogsTest : public PrefsDialogTest {
  protected:
    // Clicks a page button that opens a modal dialog and waits for that dialog.
    HWND clickAndWaitFor(int id, const char* title) {
        HWND button = control(id);
        ui_->post([button] { SendMessageA(button, BM_CLICK, 0, 0); });
        HWND found = nullptr;
        kit::waitFor([&] {
            for (HWND d : ownWindows("#32770", title))
                if (d != dialogWindow()) found = d;
            return found != nullptr;
        });
        return found;
    }
    // Ends a system dialog (false when none came) with the command and waits until it is gone.
    bool answer(HWND d, int command) {
        if (!d) return false;
        PostMessageA(d, WM_COMMAND, command, 0);
        return kit::waitFor([&] { return !IsWindow(d) || !IsWindowVisible(d); });
    }
};

TEST_F(SystemDialogsTest, TheFontDialogWritesFiveValuesInOrderAndRebuildsTheFontWhileTheBarDoesNotDraw) {
    host_.values.fontFaceName = "DejaVu Sans";
    host_.values.fontHeight = -13;
    host_.values.fontWeight = 700;
    openAt("Appearance");
    ASSERT_TRUE(answer(clickAndWaitFor(IDC_PREFS_FONT, "Font"), IDOK)) << "no dialog came, or it stayed";
    ASSERT_TRUE(kit::waitFor([&] { return host_.log().size() >= 8; }));
    EXPECT_EQ(host_.takeLog(),
              (Log{"write Font height=" + std::to_string(host_.values.fontHeight), "write Font weight=700",
                   "write Font italic=0", "write Font charset=" + std::to_string(host_.values.fontCharset),
                   "write Font face name=DejaVu Sans", "redraw 0", "rebuildButtonFont", "redraw 1"}));
    EXPECT_EQ(app::readStringSetting(core::kSettingsKey, "Font face name", ""), "DejaVu Sans");
    EXPECT_EQ(app::readDwordSetting(core::kSettingsKey, "Font height", 0), host_.values.fontHeight);
    LOGFONTA lf{};
    GetObjectA(host_.buttonFont(), sizeof(lf), &lf);
    EXPECT_STREQ(lf.lfFaceName, "DejaVu Sans");
    ASSERT_TRUE(close());
}

TEST_F(SystemDialogsTest, CancellingTheFontDialogChangesNothing) {
    openAt("Appearance");
    ASSERT_TRUE(answer(clickAndWaitFor(IDC_PREFS_FONT, "Font"), IDCANCEL)) << "no dialog came, or it stayed";
    ui_->call([] {});
    EXPECT_TRUE(host_.takeLog().empty());
    ASSERT_TRUE(close());
}

BOOL CALLBACK collect(HWND w, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(w);
    return TRUE;
}

// The file name box of the Open dialog: the edit that shows the end of the initial file name (the dialog
// moves its folder part into the folder box, so the box holds the rest).
HWND fileNameBox(HWND open, const std::string& initial) {
    std::vector<HWND> children;
    EnumChildWindows(open, collect, reinterpret_cast<LPARAM>(&children));
    for (HWND w : children) {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof(cls));
        const std::string text = windowText(w);
        if (lstrcmpiA(cls, "Edit") == 0 && !text.empty() && text.size() <= initial.size() &&
            initial.compare(initial.size() - text.size(), text.size(), text) == 0)
            return w;
    }
    return nullptr;
}

TEST_F(SystemDialogsTest, BrowsingReplacesTheWholeCommandByTheChosenPathQuoted) {
    const std::string initial = host_.values.browserCommand;
    ASSERT_EQ(initial, "c:\\Program Files\\Internet Explorer\\iexplore.exe -nohome");
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof(windows));
    const std::string chosen = std::string(windows) + "\\notepad.exe";
    openAt("General");
    HWND dialog = clickAndWaitFor(IDC_PREFS_BROWSE, nullptr);
    ASSERT_NE(dialog, nullptr);
    HWND name = nullptr;
    bool offered = kit::waitFor([&] { return (name = fileNameBox(dialog, initial)) != nullptr; });
    ASSERT_TRUE(offered) << "the Open dialog does not offer the whole command as the file name";
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
    ASSERT_TRUE(answer(dialog, IDOK));
    ASSERT_TRUE(kit::waitFor([&] { return !host_.log().empty(); }));
    Log log = host_.takeLog();
    ASSERT_EQ(log.size(), 1u);
    const std::string stored = "\"" + chosen + "\"";
    EXPECT_EQ(lstrcmpiA(log[0].c_str(), ("write Internet Explorer path=" + stored).c_str()), 0) << log[0];
    EXPECT_EQ(lstrcmpiA(windowText(control(IDC_PREFS_COMMAND)).c_str(), stored.c_str()), 0);
    EXPECT_EQ(lstrcmpiA(app::readStringSetting(core::kSettingsKey, "Internet Explorer path", "").c_str(),
                        stored.c_str()),
              0);
    ASSERT_TRUE(close());
}

TEST_F(SystemDialogsTest, CancellingTheOpenDialogKeepsTheCommand) {
    openAt("General");
    ASSERT_TRUE(answer(clickAndWaitFor(IDC_PREFS_BROWSE, nullptr), IDCANCEL))
        << "no dialog came, or it stayed";
    ui_->call([] {});
    EXPECT_TRUE(host_.takeLog().empty());
    EXPECT_EQ(windowText(control(IDC_PREFS_COMMAND)),
              "c:\\Program Files\\Internet Explorer\\iexplore.exe -nohome");
    ASSERT_TRUE(close());
}

} // namespace
} // namespace prefs_test
