// The four colour buttons of the "Appearance" page, driven through their palette popups.
#include "kit/prefs_fixture.h"

#include "app/settings_store.h"
#include "controls/colour_button.h"

namespace prefs_test {
namespace {

using Log = std::vector<std::string>;

class Colours : public PrefsDialogTest {
  protected:
    controls::ColourButton* button(int id) {
        return dynamic_cast<controls::ColourButton*>(win::Window::fromHandle(control(id)));
    }
    // Opens the button's popup, presses the keys in it as the user would and answers what was logged.
    Log pick(int id, std::initializer_list<UINT> keys) {
        controls::ColourButton* b = button(id);
        HWND popup = nullptr;
        ui_->call([&] {
            ValidateRect(host_.bar, nullptr);
            if (b) b->open();
            popup = b ? b->popup() : nullptr;
        });
        EXPECT_NE(popup, nullptr) << id;
        for (UINT key : keys)
            ui_->call([&] { SendMessageA(popup, WM_KEYDOWN, key, 0); });
        EXPECT_FALSE(IsWindow(popup)) << "the popup did not end";
        return host_.takeLog();
    }
    // Opens the dialog on the "Appearance" page and drops what was logged so far.
    void openAppearance() {
        open();
        selectPage("Appearance");
        host_.takeLog();
    }
    bool barInvalidated() { return GetUpdateRect(host_.bar, nullptr, FALSE) != 0; }
};

TEST_F(Colours, ButtonsShowTheStoredColours) {
    host_.values.barBackgroundColor = 0x00123456;
    openAppearance();
    const std::pair<int, COLORREF> shown[] = {{IDC_PREFS_BACKGROUND_COLOUR, 0x00123456},
                                              {IDC_PREFS_TEXT_COLOUR, 0},
                                              {IDC_PREFS_ACTIVE_COLOUR, 0x00B9E3F8},
                                              {IDC_PREFS_ACTIVE_TEXT_COLOUR, 0},
                                              {IDC_PREFS_ATTENTION_COLOUR, 0x000080FF}};
    for (const auto& [id, colour] : shown) {
        ASSERT_NE(button(id), nullptr) << id;
        EXPECT_EQ(button(id)->colour(), colour) << id;
        EXPECT_EQ(GetWindowLongPtrA(control(id), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
    }
    ASSERT_TRUE(close());
}

TEST_F(Colours, DefaultForTheActiveButtonStoresItsOwnDefault) {
    host_.values.activeButtonColor = 0x00FF0000;
    openAppearance();
    // Up from nothing is "Default".
    EXPECT_EQ(pick(IDC_PREFS_ACTIVE_COLOUR, {VK_UP, VK_RETURN}), (Log{"write Active button color=12182520"}));
    EXPECT_EQ(host_.values.activeButtonColor, 0x00B9E3F8);
    EXPECT_TRUE(barInvalidated());

    EXPECT_EQ(pick(IDC_PREFS_BACKGROUND_COLOUR, {VK_UP, VK_RETURN}),
              (Log{"write Bar background color=" + std::to_string(GetSysColor(COLOR_BTNFACE))}));
    EXPECT_EQ(pick(IDC_PREFS_ACTIVE_TEXT_COLOUR, {VK_UP, VK_RETURN}),
              (Log{"write Active button text color=0"}));
    host_.values.attentionButtonColor = 0x00FF0000;
    EXPECT_EQ(pick(IDC_PREFS_ATTENTION_COLOUR, {VK_UP, VK_RETURN}),
              (Log{"write Attention button color=" + std::to_string(0x000080FF)}));
    ASSERT_TRUE(close());
    EXPECT_EQ(app::readDwordSetting(core::kSettingsKey, "Active button color", 0), 0x00B9E3F8);
}

TEST_F(Colours, AnAcceptedCellIsStoredAndRepaintsTheBar) {
    openAppearance();
    // "Default", then the first cell (black), then the one right of it (brown, 165, 42, 0).
    EXPECT_EQ(pick(IDC_PREFS_TEXT_COLOUR, {VK_UP, VK_DOWN, VK_RIGHT, VK_RETURN}),
              (Log{"write Buttons text color=" + std::to_string(RGB(165, 42, 0))}));
    EXPECT_EQ(host_.values.buttonTextColor, static_cast<int32_t>(RGB(165, 42, 0)));
    EXPECT_TRUE(barInvalidated());
    ASSERT_TRUE(close());
}

TEST_F(Colours, CancellingRewritesTheUnchangedColour) {
    host_.values.buttonTextColor = 0x00010203;
    openAppearance();
    EXPECT_EQ(pick(IDC_PREFS_TEXT_COLOUR, {VK_UP, VK_DOWN, VK_ESCAPE}),
              (Log{"write Buttons text color=" + std::to_string(0x00010203)}));
    EXPECT_EQ(button(IDC_PREFS_TEXT_COLOUR)->colour(), 0x00010203u);
    ASSERT_TRUE(close());
}

} // namespace
} // namespace prefs_test
