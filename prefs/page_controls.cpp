#include "prefs/page_controls.h"

#include "resources/resource.h"

namespace prefs {

namespace {
using core::CheckKind;
using core::Settings;

const CheckBoxControl kCheckBoxes[kCheckBoxCount] = {
    {IDC_PREFS_SHOW_AT_TOP, nullptr, core::valueName(&Settings::dockEdge), CheckKind::DockEdge,
     CheckEffect::DockEdge},
    {IDC_PREFS_OPEN_ON_START, &Settings::openBrowserOnStart, core::valueName(&Settings::openBrowserOnStart),
     CheckKind::Flag, CheckEffect::None},
    {IDC_PREFS_CLOSE_ON_EXIT, &Settings::closeBrowsersOnExit, core::valueName(&Settings::closeBrowsersOnExit),
     CheckKind::Flag, CheckEffect::None},
    {IDC_PREFS_HIDE_BROWSERS, &Settings::hideBrowsersWithBar, core::valueName(&Settings::hideBrowsersWithBar),
     CheckKind::Flag, CheckEffect::None},
    {IDC_PREFS_AUTOHIDE, &Settings::autoHide, core::valueName(&Settings::autoHide), CheckKind::Flag,
     CheckEffect::None},
    {IDC_PREFS_AUTORESTORE, &Settings::autoRestoreFromTray, core::valueName(&Settings::autoRestoreFromTray),
     CheckKind::Flag, CheckEffect::None},
    {IDC_PREFS_MINIMIZE_ON_CLICK, &Settings::minimizeOnSecondClick,
     core::valueName(&Settings::minimizeOnSecondClick), CheckKind::Flag, CheckEffect::None},
    {IDC_PREFS_START_IN_TRAY, &Settings::startInTray, core::valueName(&Settings::startInTray),
     CheckKind::Flag, CheckEffect::None},
    {IDC_PREFS_SHOW_CLOSE, &Settings::showCloseGlyph, core::valueName(&Settings::showCloseGlyph),
     CheckKind::Flag, CheckEffect::CloseGlyph},
    {IDC_PREFS_CLOSE_ACTIVE_ONLY, &Settings::closeGlyphOnActiveOnly,
     core::valueName(&Settings::closeGlyphOnActiveOnly), CheckKind::Flag, CheckEffect::Repaint},
    {IDC_PREFS_SHOW_ICONS, &Settings::showWindowIcons, core::valueName(&Settings::showWindowIcons),
     CheckKind::Flag, CheckEffect::WindowIcons},
    {IDC_PREFS_FORCE_OVER_FULLSCREEN, &Settings::forceOverFullscreen,
     core::valueName(&Settings::forceOverFullscreen), CheckKind::Flag, CheckEffect::BarGeometry},
    {IDC_PREFS_CATCH_EXPLORER, &Settings::catchExplorerWindows,
     core::valueName(&Settings::catchExplorerWindows), CheckKind::Flag, CheckEffect::None},
    {IDC_PREFS_CATCH_OTHER_BROWSERS, &Settings::catchOtherBrowsers,
     core::valueName(&Settings::catchOtherBrowsers), CheckKind::Flag, CheckEffect::None},
    {IDC_PREFS_CURRENT_DESKTOP_ONLY, &Settings::currentDesktopOnly,
     core::valueName(&Settings::currentDesktopOnly), CheckKind::Flag, CheckEffect::Desktops},
    {IDC_PREFS_MIDDLE_CLICK, &Settings::middleClickCloses, core::valueName(&Settings::middleClickCloses),
     CheckKind::Flag, CheckEffect::None},
    {IDC_PREFS_BUTTONS_BY_MONITOR, &Settings::buttonsOnWindowMonitor,
     core::valueName(&Settings::buttonsOnWindowMonitor), CheckKind::Flag, CheckEffect::Bars},
};

const NumberEditControl kNumberEdits[5] = {
    {IDC_PREFS_BAR_HEIGHT, core::NumberEdit::BarHeight},
    {IDC_PREFS_ALIGN_LEFT, core::NumberEdit::AlignLeft},
    {IDC_PREFS_ALIGN_TOP, core::NumberEdit::AlignTop},
    {IDC_PREFS_ALIGN_WIDTH, core::NumberEdit::AlignWidth},
    {IDC_PREFS_ALIGN_HEIGHT, core::NumberEdit::AlignHeight},
};

const ColourControl kColours[kColourControlCount] = {
    {IDC_PREFS_BACKGROUND_COLOUR, core::ColourSetting::BarBackground},
    {IDC_PREFS_TEXT_COLOUR, core::ColourSetting::ButtonText},
    {IDC_PREFS_ACTIVE_COLOUR, core::ColourSetting::ActiveButton},
    {IDC_PREFS_ACTIVE_TEXT_COLOUR, core::ColourSetting::ActiveButtonText},
    {IDC_PREFS_ATTENTION_COLOUR, core::ColourSetting::AttentionButton},
};

template <class T, size_t N> const T* findById(const T (&table)[N], int id) {
    for (const T& entry : table)
        if (entry.id == id) return &entry;
    return nullptr;
}
} // namespace

const CheckBoxControl (&checkBoxControls())[kCheckBoxCount] {
    return kCheckBoxes;
}
const CheckBoxControl* findCheckBox(int id) {
    return findById(kCheckBoxes, id);
}
const NumberEditControl (&numberEditControls())[5] {
    return kNumberEdits;
}
const NumberEditControl* findNumberEdit(int id) {
    return findById(kNumberEdits, id);
}
const ColourControl (&colourControls())[kColourControlCount] {
    return kColours;
}
const ColourControl* findColourControl(int id) {
    return findById(kColours, id);
}

} // namespace prefs
