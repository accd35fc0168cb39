#include "prefs/preferences_page.h"

#include <commctrl.h>

#include <vector>

#include "core/dpi_scale.h"
#include "prefs/page_controls.h"
#include "prefs/preferences_dialog.h"
#include "prefs/quick_help.h"
#include "resources/resource.h"
#include "win/dpi.h"
#include "win/monitors.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace prefs {

namespace {
// How far below a control its quick help opens, in 96-DPI units.
constexpr int kHelpBelowControl = 6;
} // namespace

PreferencesPage::PreferencesPage(PreferencesHost& host, PreferencesDialog& dialog)
    : host_(host), dialog_(dialog) {}

void PreferencesPage::onFinalMessage() {
    delete this;
}

INT_PTR PreferencesPage::dialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return onInitDialog();
    case controls::WM_COLOUR_ACCEPT:
    case controls::WM_COLOUR_CANCEL:
        return answer(onColourEnded(msg, wParam, lParam));
    case WM_HELP:
        return answer(onHelp(*reinterpret_cast<const HELPINFO*>(lParam)));
    case WM_DESTROY:
        onDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL PreferencesPage::onInitDialog() {
    SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(host_.dialogFont()), TRUE);
    initButtons();
    initEdits();
    attachColourButtons();
    initHotKeys();
    initLanguages();
    initBarsOn();
    return TRUE;
}

void PreferencesPage::initButtons() {
    const core::Settings& s = host_.settings();
    for (const CheckBoxControl& box : checkBoxControls())
        setChecked(box.id, box.flag ? s.*box.flag : core::checkBoxState(box.kind, s.dockEdge));
    if (HWND activeOnly = item(IDC_PREFS_CLOSE_ACTIVE_ONLY))
        EnableWindow(activeOnly, core::activeOnlyEnabled(s));
    // Both flags stored on show both radios on, as they were stored; the first click sorts them out.
    setChecked(IDC_PREFS_MAXIMIZE, s.maximizeBrowsers);
    setChecked(IDC_PREFS_ALIGN, s.alignBrowsers);
    setChecked(IDC_PREFS_DONT_CHANGE, !s.maximizeBrowsers && !s.alignBrowsers);
}

void PreferencesPage::initEdits() {
    const core::Settings& s = host_.settings();
    for (const NumberEditControl& edit : numberEditControls()) {
        HWND control = item(edit.id);
        if (!control) continue;
        const int32_t value = s.*core::numberEditRule(edit.edit).field;
        // Shown unsigned, as stored: a negative edge reads as a large number.
        setText(edit.id, std::to_string(static_cast<uint32_t>(value)));
        if (edit.edit != core::NumberEdit::BarHeight) EnableWindow(control, core::positionEditsEnabled(s));
    }
    setText(IDC_PREFS_COMMAND, s.browserCommand);
}

void PreferencesPage::initHotKeys() {
    const core::Settings& s = host_.settings();
    const std::pair<int, int32_t> keys[] = {{IDC_PREFS_HOTKEY_HIDE, s.hotKeyHide},
                                            {IDC_PREFS_HOTKEY_NEW, s.hotKeyNew},
                                            {IDC_PREFS_HOTKEY_FOCUS, s.hotKeyFocus}};
    for (const auto& [id, value] : keys) {
        HWND control = item(id);
        if (!control) continue;
        // A key typed alone gets Ctrl+Alt added.
        SendMessageA(control, HKM_SETRULES, HKCOMB_NONE, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        SendMessageA(control, HKM_SETHOTKEY, core::hotKeyToControl(static_cast<uint32_t>(value)), 0);
    }
}

bool PreferencesPage::onCommand(UINT code, int id, HWND) {
    if (code == EN_KILLFOCUS) {
        onEditLostFocus(id);
        return true;
    }
    if (code == CBN_SELCHANGE && id == IDC_PREFS_LANGUAGE) onLanguageChosen();
    if (code == CBN_SELCHANGE && id == IDC_PREFS_BARS_ON) onBarsOnChosen();
    if (code != BN_CLICKED) return true;
    switch (id) {
    case IDC_PREFS_MAXIMIZE:
        onPlacement(core::Placement::Maximize);
        break;
    case IDC_PREFS_ALIGN:
        onPlacement(core::Placement::Align);
        break;
    case IDC_PREFS_DONT_CHANGE:
        onPlacement(core::Placement::DontChange);
        break;
    case IDC_PREFS_FONT:
        onFont();
        break;
    case IDC_PREFS_BROWSE:
        onBrowse();
        break;
    default:
        onCheckBox(id);
        break;
    }
    return true;
}

void PreferencesPage::onCheckBox(int id) {
    const CheckBoxControl* box = findCheckBox(id);
    if (!box) return;
    const bool on = checked(id);
    if (box->flag) {
        host_.change(box->flag, on);
    } else {
        host_.change(&core::Settings::dockEdge, core::checkBoxValue(box->kind, on));
    }
    if (box->effect == CheckEffect::CloseGlyph) EnableWindow(item(IDC_PREFS_CLOSE_ACTIVE_ONLY), on);
    if (box->effect == CheckEffect::CloseGlyph || box->effect == CheckEffect::Repaint) repaintBar();
    if (box->effect == CheckEffect::DockEdge) host_.dockEdgeChanged();
    if (box->effect == CheckEffect::BarGeometry) dialog_.noteBarGeometryChanged();
    if (box->effect == CheckEffect::WindowIcons) {
        host_.windowIconsChanged();
        repaintBar();
    }
    if (box->effect == CheckEffect::Bars) host_.barsChanged();
    if (box->effect == CheckEffect::Desktops) host_.desktopFilterChanged();
}

void PreferencesPage::onPlacement(core::Placement choice) {
    for (const core::DwordWrite& write : core::choosePlacement(host_.settings(), choice))
        host_.writeDword(write.valueName, write.value);
    showPlacement();
    dialog_.notePlacementChanged();
}

void PreferencesPage::showPlacement() {
    const core::Settings& s = host_.settings();
    const core::Placement now = core::placementOf(s);
    setChecked(IDC_PREFS_MAXIMIZE, now == core::Placement::Maximize);
    setChecked(IDC_PREFS_ALIGN, now == core::Placement::Align);
    setChecked(IDC_PREFS_DONT_CHANGE, now == core::Placement::DontChange);
    for (const NumberEditControl& edit : numberEditControls()) {
        if (edit.edit == core::NumberEdit::BarHeight) continue;
        if (HWND control = item(edit.id)) EnableWindow(control, core::positionEditsEnabled(s));
    }
}

void PreferencesPage::onEditLostFocus(int id) {
    HWND edit = item(id);
    // Once the dialog has judged the pending value on closing, a refused text is dropped.
    if (!edit || dialog_.closing() || !SendMessageA(edit, EM_GETMODIFY, 0, 0)) return;
    const std::string typed = text(id);
    if (id == IDC_PREFS_COMMAND) {
        host_.change(&core::Settings::browserCommand, typed);
    } else if (!takeNumber(id, typed)) {
        refuse(edit);
        return;
    }
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
}

bool PreferencesPage::takeNumber(int id, const std::string& text) {
    const NumberEditControl* control = findNumberEdit(id);
    if (!control) return true;
    const std::optional<int32_t> value = core::parseNumber(text);
    core::Settings& s = host_.settings();
    const core::ScreenSize screen = win::virtualScreenReach();
    if (!value || !core::acceptNumber(control->edit, *value, s, screen)) return false;
    const core::NumberEditRule& rule = core::numberEditRule(control->edit);
    host_.change(rule.field, *value);
    if (rule.onAccept == core::CloseAction::PositionBar) dialog_.noteBarGeometryChanged();
    if (rule.onAccept == core::CloseAction::PlaceBrowsers) dialog_.notePlacementChanged();
    return true;
}

void PreferencesPage::refuse(HWND edit) {
    MessageBoxW(hwnd(), win::uiWideText(host_.instance(), IDS_BAD_VALUE).c_str(),
                win::widen(kProgramTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
    // The same text is judged again at the next loss of focus: field, registry and modified flag stay.
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    SetFocus(edit);
}

BOOL PreferencesPage::onHelp(const HELPINFO& info) {
    // Labels and group boxes have no id of their own, hence no text: they get no tip.
    const std::string text =
        info.iCtrlId > 0 ? win::uiText(host_.instance(), static_cast<UINT>(info.iCtrlId)) : "";
    if (text.empty()) return TRUE;
    POINT anchor = info.MousePos;
    if (HWND control = item(info.iCtrlId)) {
        RECT rc;
        GetWindowRect(control, &rc);
        anchor = POINT{rc.left + (rc.right - rc.left) / 2,
                       rc.bottom + core::scaleForDpi(kHelpBelowControl, win::windowDpi(hwnd()))};
    }
    showQuickHelp(static_cast<HWND>(info.hItemHandle), text, anchor);
    return TRUE;
}

void PreferencesPage::onDestroy() {
    takeHotKey(IDC_PREFS_HOTKEY_HIDE, &core::Settings::hotKeyHide, kHotKeyIdHide);
    takeHotKey(IDC_PREFS_HOTKEY_NEW, &core::Settings::hotKeyNew, kHotKeyIdNew);
    takeHotKey(IDC_PREFS_HOTKEY_FOCUS, &core::Settings::hotKeyFocus, kHotKeyIdFocus);
}

void PreferencesPage::takeHotKey(int controlId, int32_t core::Settings::*field, int hotKeyId) {
    HWND control = item(controlId);
    if (!control) return;
    const auto shown = static_cast<uint16_t>(SendMessageA(control, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
    const uint32_t value = core::hotKeyFromControl(shown);
    core::Settings& s = host_.settings();
    if (static_cast<int32_t>(value) == s.*field) return;
    host_.unregisterHotKey(hotKeyId);
    // 0 means no hot key, as at start-up: nothing to register.
    if (value) host_.registerHotKey(hotKeyId, core::hotKeyModifiers(value), core::hotKeyVirtualKey(value));
    host_.change(field, static_cast<int32_t>(value));
}

void PreferencesPage::repaintBar() {
    host_.repaintBars();
}

} // namespace prefs
