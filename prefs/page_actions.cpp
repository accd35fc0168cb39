// The page's buttons that open other dialogs or pickers: the font, the browser program and the colours.
#include <windows.h>

#include <commdlg.h>

#include <memory>
#include <vector>

#include "prefs/page_controls.h"
#include "prefs/preferences_dialog.h"
#include "prefs/preferences_page.h"
#include "resources/resource.h"

#include "controls/colour_button.h"
#include "core/dpi_scale.h"
#include "win/common_dialogs.h"
#include "win/dpi.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace prefs {

namespace {
// Room for a long command line: the whole command is offered as the initial file name.
constexpr size_t kFileBufferSize = 4096;

// The popup's texts in the interface language; a text no language has keeps the button's own.
void setColourTexts(controls::ColourButton& button, HINSTANCE module) {
    const std::string defaultText = win::uiText(module, IDS_COLOUR_DEFAULT);
    const std::string customText = win::uiText(module, IDS_COLOUR_OTHER);
    if (!defaultText.empty() && !customText.empty()) button.setTexts(defaultText, customText);
    controls::ColourNames names;
    for (size_t i = 0; i < names.size(); ++i)
        names[i] = win::uiText(module, IDS_COLOUR_FIRST + static_cast<UINT>(i));
    button.setNames(names);
}
} // namespace

// The page's colour buttons, in the order of colourControls(); a page without them holds none.
struct PreferencesPage::ColourButtons {
    std::unique_ptr<controls::ColourButton> buttons[kColourControlCount];
};

PreferencesPage::~PreferencesPage() {
    delete colours_;
}

void PreferencesPage::onFont() {
    LOGFONTW font{};
    if (!GetObjectW(host_.buttonFont(), sizeof(font), &font)) return;
    CHOOSEFONTW choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = hwnd();
    choose.lpLogFont = &font;
    choose.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_FORCEFONTEXIST;
    if (!win::chooseFont(&choose)) return;

    // The chooser works in the bar's pixels; the setting keeps 96-DPI units.
    host_.change(&core::Settings::fontHeight,
                 core::unscaleForDpi(font.lfHeight, win::windowDpi(host_.barWindow())));
    host_.change(&core::Settings::fontWeight, font.lfWeight);
    host_.change(&core::Settings::fontItalic, font.lfItalic);
    host_.change(&core::Settings::fontCharset, font.lfCharSet);
    host_.change(&core::Settings::fontFaceName, win::narrow(font.lfFaceName));

    HWND bar = host_.barWindow();
    SendMessageA(bar, WM_SETREDRAW, FALSE, 0);
    host_.rebuildButtonFont();
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    repaintBar();
}

void PreferencesPage::onBrowse() {
    core::Settings& s = host_.settings();
    std::vector<wchar_t> file(kFileBufferSize, L'\0');
    win::widen(s.browserCommand).copy(file.data(), file.size() - 1);
    OPENFILENAMEW open{};
    open.lStructSize = sizeof(open);
    open.hwndOwner = hwnd();
    open.lpstrFile = file.data();
    open.nMaxFile = static_cast<DWORD>(file.size());
    open.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_LONGNAMES | OFN_ENABLESIZING;
    if (!win::openFileName(&open)) return;
    // The chosen program replaces the whole command, its parameters included; quoted, so that a folder with
    // a space in its name cannot be read as a shorter program.
    host_.change(&core::Settings::browserCommand, "\"" + win::narrow(file.data()) + "\"");
    setText(IDC_PREFS_COMMAND, s.browserCommand);
}

void PreferencesPage::attachColourButtons() {
    colours_ = new ColourButtons;
    const core::Settings& s = host_.settings();
    const ColourControl(&table)[kColourControlCount] = colourControls();
    for (size_t i = 0; i < kColourControlCount; ++i) {
        if (!item(table[i].id)) continue;
        auto button = std::make_unique<controls::ColourButton>();
        if (!button->attach(hwnd(), table[i].id)) continue;
        setColourTexts(*button, host_.instance());
        button->setColour(static_cast<COLORREF>(s.*core::colourRule(table[i].setting).field));
        colours_->buttons[i] = std::move(button);
    }
}

COLORREF PreferencesPage::colourOf(int controlId, WPARAM reported) const {
    // The button shows the colour to keep; a message from anything else carries it itself.
    const ColourControl(&table)[kColourControlCount] = colourControls();
    for (size_t i = 0; i < kColourControlCount; ++i) {
        if (table[i].id == controlId && colours_ && colours_->buttons[i])
            return colours_->buttons[i]->colour();
    }
    return static_cast<COLORREF>(reported);
}

LRESULT PreferencesPage::onColourEnded(UINT, WPARAM colour, LPARAM controlId) {
    const ColourControl* control = findColourControl(static_cast<int>(controlId));
    if (!control) return 1;
    // Accepted or cancelled alike: the button shows the colour to keep, and that is what is stored.
    const core::ColourRule& rule = core::colourRule(control->setting);
    const int32_t stored =
        core::storedColour(control->setting, colourOf(control->id, colour), GetSysColor(COLOR_BTNFACE));
    host_.change(rule.field, stored);
    repaintBar();
    return 1;
}

} // namespace prefs
