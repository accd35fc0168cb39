#include "core/settings.h"

namespace core {

namespace {
#define DWORD_SETTING(n, f) SettingDef{n, &Settings::f, nullptr}
#define TEXT_SETTING(n, f) SettingDef{n, nullptr, &Settings::f}
const std::array<SettingDef, kSettingCount> kTable = {{
    DWORD_SETTING("Show on top of desktop", dockEdge),
    DWORD_SETTING("Show close button on IE buttons", showCloseGlyph),
    DWORD_SETTING("only on active IE button", closeGlyphOnActiveOnly),
    DWORD_SETTING("Close browser windows on exit", closeBrowsersOnExit),
    DWORD_SETTING("Force placement over fullscreen popups", forceOverFullscreen),
    DWORD_SETTING("Maximize browser windows", maximizeBrowsers),
    DWORD_SETTING("Align browser windows", alignBrowsers),
    DWORD_SETTING("Left", alignLeft),
    DWORD_SETTING("Top", alignTop),
    DWORD_SETTING("Width", alignWidth),
    DWORD_SETTING("Height", alignHeight),
    DWORD_SETTING("Hide browsers when Corvane! hides", hideBrowsersWithBar),
    DWORD_SETTING("Bar height", barHeight),
    DWORD_SETTING("Hot Key Hide", hotKeyHide),
    DWORD_SETTING("Hot Key New", hotKeyNew),
    TEXT_SETTING("Internet Explorer path", browserCommand),
    DWORD_SETTING("Open default browser on start", openBrowserOnStart),
    DWORD_SETTING("Autohide", autoHide),
    DWORD_SETTING("Allow minimization of IE", minimizeOnSecondClick),
    DWORD_SETTING("Autorestore from tray", autoRestoreFromTray),
    DWORD_SETTING("Catch Windows Explorer windows", catchExplorerWindows),
    DWORD_SETTING("Catch other browsers", catchOtherBrowsers),
    DWORD_SETTING("Hide into the system tray on start", startInTray),
    DWORD_SETTING("Bar background color", barBackgroundColor),
    DWORD_SETTING("Buttons text color", buttonTextColor),
    DWORD_SETTING("Active button color", activeButtonColor),
    DWORD_SETTING("Active button text color", activeButtonTextColor),
    DWORD_SETTING("Font height", fontHeight),
    DWORD_SETTING("Font weight", fontWeight),
    DWORD_SETTING("Font italic", fontItalic),
    DWORD_SETTING("Font charset", fontCharset),
    TEXT_SETTING("Font face name", fontFaceName),
}};
#undef DWORD_SETTING
#undef TEXT_SETTING
} // namespace

const std::array<SettingDef, kSettingCount>& settingTable() { return kTable; }

Settings loadSettings(SettingsSource& source, int32_t buttonFaceColour) {
    Settings s;
    s.barBackgroundColor = buttonFaceColour;
    for (const SettingDef& def : kTable) {
        if (def.dword) {
            s.*def.dword = source.readDword(def.name, s.*def.dword);
        } else {
            s.*def.text = source.readString(def.name, s.*def.text);
        }
    }
    return s;
}

uint8_t swapHotKeyModifiers(uint8_t flags) {
    uint8_t out = flags & 0x02;
    if (flags & 0x01) out |= 0x04;
    if (flags & 0x04) out |= 0x01;
    return out;
}

} // namespace core
