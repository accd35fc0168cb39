// The program-wide preferences record and the fixed table of its stored values.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace core {

constexpr const char* kSettingsKey = "Software\\Corvane!";

// The stored "Bars on" values.
constexpr int32_t kBarsOnPrimary = 0;
constexpr int32_t kBarsOnEvery = 1;
constexpr int32_t kBarsOnChosen = 2;

// Appbar edge codes as the shell takes them.
constexpr int32_t kEdgeTop = 1;
constexpr int32_t kEdgeBottom = 3;

// The active button's colour until the user picks another (a pale yellow, the tool tips' too).
constexpr int32_t kActiveButtonDefault = 0x00B9E3F8;
// A window calling for attention until the user picks another colour: orange, clear of every other face.
constexpr int32_t kAttentionButtonDefault = 0x000080FF;

// Texts are UTF-8. Pixel sizes (bar height, font height) are 96-DPI units; the bar scales them to its
// monitor's DPI. The alignment rectangle is in screen pixels.
struct Settings {
    int32_t dockEdge = kEdgeBottom;
    bool showCloseGlyph = true;
    bool closeGlyphOnActiveOnly = true;
    bool showWindowIcons = true;
    bool closeBrowsersOnExit = false;
    bool forceOverFullscreen = true;
    bool maximizeBrowsers = true;
    bool alignBrowsers = false;
    int32_t alignLeft = 0;
    int32_t alignTop = 0;
    int32_t alignWidth = 700;
    int32_t alignHeight = 500;
    bool hideBrowsersWithBar = true;
    int32_t barHeight = 24;
    int32_t hotKeyHide = 0x0003006D;
    int32_t hotKeyNew = 0x0003006B;
    // Ctrl+Alt+numeric-keypad multiply: brings the bar to the keyboard.
    int32_t hotKeyFocus = 0x0003006A;
    std::string browserCommand = "c:\\Program Files\\Internet Explorer\\iexplore.exe -nohome";
    bool openBrowserOnStart = false;
    bool autoHide = false;
    bool minimizeOnSecondClick = false;
    bool middleClickCloses = true;
    bool autoRestoreFromTray = true;
    bool catchExplorerWindows = true;
    // Today's browsers (Chromium-based ones, Firefox) beside the classic frame.
    bool catchOtherBrowsers = true;
    bool startInTray = false;
    // A window on a virtual desktop not in view has no button.
    bool currentDesktopOnly = true;
    int32_t barBackgroundColor = 0; // the system's button face, filled in when loading
    int32_t buttonTextColor = 0x00000000;
    int32_t activeButtonColor = kActiveButtonDefault;
    int32_t activeButtonTextColor = 0x00000000;
    int32_t attentionButtonColor = kAttentionButtonDefault;
    int32_t fontHeight = -11;
    int32_t fontWeight = 400;
    int32_t fontItalic = 0;
    int32_t fontCharset = 1;
    std::string fontFaceName = "MS Sans Serif";
    // The interface language as a locale name ("de-DE"); empty follows the Windows display language.
    std::string language;
    // Where bars dock: kBarsOnPrimary, kBarsOnEvery or kBarsOnChosen (the monitor of barMonitor's device
    // name, or the primary one while that monitor is gone).
    int32_t barsOn = 1;
    std::string barMonitor;
    // Each bar lists only the windows on its own monitor.
    bool buttonsOnWindowMonitor = true;
};

// One stored value: its registry name and the field it fills. Exactly one of dword/text/flag is set. An
// on/off setting is stored as a DWORD, on when it is not zero, and read as a bool.
struct SettingDef {
    const char* name;
    int32_t Settings::*dword;
    std::string Settings::*text;
    bool Settings::*flag = nullptr;
};

constexpr size_t kSettingCount = 41;
// In the order start-up reads them. The one place a stored value's name is written: the rest of the
// program takes it from here through valueName().
inline constexpr std::array<SettingDef, kSettingCount> kSettingTable = {{
    {"Show on top of desktop", &Settings::dockEdge, nullptr},
    {"Show close button on IE buttons", nullptr, nullptr, &Settings::showCloseGlyph},
    {"only on active IE button", nullptr, nullptr, &Settings::closeGlyphOnActiveOnly},
    {"Close browser windows on exit", nullptr, nullptr, &Settings::closeBrowsersOnExit},
    {"Force placement over fullscreen popups", nullptr, nullptr, &Settings::forceOverFullscreen},
    {"Maximize browser windows", nullptr, nullptr, &Settings::maximizeBrowsers},
    {"Align browser windows", nullptr, nullptr, &Settings::alignBrowsers},
    {"Left", &Settings::alignLeft, nullptr},
    {"Top", &Settings::alignTop, nullptr},
    {"Width", &Settings::alignWidth, nullptr},
    {"Height", &Settings::alignHeight, nullptr},
    {"Hide browsers when Corvane! hides", nullptr, nullptr, &Settings::hideBrowsersWithBar},
    {"Bar height", &Settings::barHeight, nullptr},
    {"Hot Key Hide", &Settings::hotKeyHide, nullptr},
    {"Hot Key New", &Settings::hotKeyNew, nullptr},
    {"Hot Key Focus", &Settings::hotKeyFocus, nullptr},
    {"Internet Explorer path", nullptr, &Settings::browserCommand},
    {"Open default browser on start", nullptr, nullptr, &Settings::openBrowserOnStart},
    {"Autohide", nullptr, nullptr, &Settings::autoHide},
    {"Allow minimization of IE", nullptr, nullptr, &Settings::minimizeOnSecondClick},
    {"Autorestore from tray", nullptr, nullptr, &Settings::autoRestoreFromTray},
    {"Catch Windows Explorer windows", nullptr, nullptr, &Settings::catchExplorerWindows},
    {"Catch other browsers", nullptr, nullptr, &Settings::catchOtherBrowsers},
    {"Hide into the system tray on start", nullptr, nullptr, &Settings::startInTray},
    {"Bar background color", &Settings::barBackgroundColor, nullptr},
    {"Buttons text color", &Settings::buttonTextColor, nullptr},
    {"Active button color", &Settings::activeButtonColor, nullptr},
    {"Active button text color", &Settings::activeButtonTextColor, nullptr},
    {"Attention button color", &Settings::attentionButtonColor, nullptr},
    {"Middle click closes a window", nullptr, nullptr, &Settings::middleClickCloses},
    {"Font height", &Settings::fontHeight, nullptr},
    {"Font weight", &Settings::fontWeight, nullptr},
    {"Font italic", &Settings::fontItalic, nullptr},
    {"Font charset", &Settings::fontCharset, nullptr},
    {"Font face name", nullptr, &Settings::fontFaceName},
    {"Show window icons", nullptr, nullptr, &Settings::showWindowIcons},
    {"Language", nullptr, &Settings::language},
    {"Only windows of the current desktop", nullptr, nullptr, &Settings::currentDesktopOnly},
    {"Bars on", &Settings::barsOn, nullptr},
    {"Bar monitor", nullptr, &Settings::barMonitor},
    {"Buttons on the bar of the window's monitor", nullptr, nullptr, &Settings::buttonsOnWindowMonitor},
}};
const std::array<SettingDef, kSettingCount>& settingTable();

// The registry name of a stored field; null for a field that is not stored.
constexpr const char* valueName(int32_t Settings::*field) {
    for (const SettingDef& def : kSettingTable)
        if (def.dword == field) return def.name;
    return nullptr;
}
constexpr const char* valueName(std::string Settings::*field) {
    for (const SettingDef& def : kSettingTable)
        if (def.text == field) return def.name;
    return nullptr;
}
constexpr const char* valueName(bool Settings::*field) {
    for (const SettingDef& def : kSettingTable)
        if (def.flag == field) return def.name;
    return nullptr;
}

// Where settings are read from: the registry in the program, a map in tests.
class SettingsSource {
  public:
    virtual ~SettingsSource() = default;
    virtual int32_t readDword(const char* name, int32_t fallback) = 0;
    virtual std::string readString(const char* name, const std::string& fallback) = 0;
};

// Reads every value in table order; a missing value keeps the default. buttonFaceColour is the
// default background, taken from the system at this moment.
Settings loadSettings(SettingsSource& source, int32_t buttonFaceColour);

// Hot-key control modifier bits <-> RegisterHotKey modifier bits (shift 0x01 <-> 0x04, control 0x02 stays).
// Its own inverse; every other bit is dropped.
uint8_t swapHotKeyModifiers(uint8_t flags);

// The stored hot-key value: modifiers in the high word, the virtual key in the low word.
constexpr uint32_t makeHotKeyValue(uint32_t modFlags, uint32_t virtualKey) {
    return (modFlags << 16) | (virtualKey & 0xFFFF);
}
constexpr uint32_t hotKeyModifiers(uint32_t value) {
    return value >> 16;
}
constexpr uint32_t hotKeyVirtualKey(uint32_t value) {
    return value & 0xFFFF;
}

} // namespace core
