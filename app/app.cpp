#include "app/app.h"

#include <commctrl.h>

#include "app/bar_window.h"
#include "app/crash_guard.h"
#include "app/settings_store.h"
#include "core/dpi_scale.h"
#include "core/setting_ranges.h"
#include "win/dpi.h"
#include "win/monitors.h"
#include "win/system_library.h"
#include "win/text.h"
#include "win/theme.h"
#include "win/ui_text.h"
#include "win/window.h"

namespace app {

namespace {
// Constructed before start-up and destroyed at the end of the process, in reverse order.
core::Settings g_settings;
win::Font g_dialogFont;
win::Font g_buttonFont;
BarWindow* g_bar = nullptr;
int g_dpi = core::kBaseDpi;
unsigned g_fontChanges = 0;
// The theme as last read; read at the first paint where nothing has read it yet.
bool g_themeRead = false;
core::Theme g_theme = core::Theme::Light;
core::SystemColours g_systemColours;
core::Colour g_buttonFaceDefault = 0;

} // namespace

HFONT makeButtonFont(int dpi) {
    const core::Settings& s = g_settings;
    // The stored height is in 96-DPI units, like every stored size.
    return CreateFontW(core::scaleForDpi(s.fontHeight, dpi), 0, 0, 0, s.fontWeight,
                       static_cast<BYTE>(s.fontItalic), 0, 0, static_cast<BYTE>(s.fontCharset),
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       win::widen(s.fontFaceName).c_str());
}

unsigned buttonFontChanges() {
    return g_fontChanges;
}

core::Settings& settings() {
    return g_settings;
}

void loadSettingsAndFonts() {
    RegistrySettingsSource source(core::kSettingsKey);
    const auto buttonFace = static_cast<int32_t>(GetSysColor(COLOR_BTNFACE));
    g_settings = core::loadSettings(source, buttonFace);
    // The alignment rectangle may lie on any monitor; each bar's own height is kept to its monitor.
    core::keepInRange(g_settings, win::virtualScreenReach(), buttonFace);
    g_buttonFaceDefault = static_cast<core::Colour>(buttonFace);
    readTheme();
    g_dpi = win::systemDpi();
    win::chooseUiLanguage(g_settings.language);
    rebuildButtonFont();
    // The dialogs open at the DPI the system starts windows with.
    g_dialogFont.reset(CreateFontA(core::scaleForDpi(-11, g_dpi), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                   DEFAULT_CHARSET, OUT_STRING_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY,
                                   VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
}

core::PartColours barColours() {
    if (!g_themeRead) readTheme();
    return core::partColours(g_settings, g_buttonFaceDefault, g_theme, g_systemColours);
}

void readTheme() {
    g_theme = win::systemTheme();
    g_systemColours = win::systemColours();
    g_themeRead = true;
}

HFONT buttonFont() {
    return g_buttonFont.get();
}
void rebuildButtonFont() {
    g_buttonFont.reset(makeButtonFont(g_dpi));
    ++g_fontChanges;
}
int barDpi() {
    return g_dpi;
}
void setBarDpi(int dpi) {
    g_dpi = dpi > 0 ? dpi : core::kBaseDpi;
    rebuildButtonFont();
}
HFONT dialogFont() {
    return g_dialogFont.get();
}
HINSTANCE instance() {
    return GetModuleHandleA(nullptr);
}

bool startProgram() {
    // Before anything is loaded at run time.
    win::restrictLibrarySearch();
    // One copy only: any top-level window with the bar's title, whoever owns it, stops the start.
    HWND other = FindWindowA(nullptr, kBarTitle);
    if (other && IsWindow(other)) return false;

    // Only where the manifest's request was not honoured; once set, the awareness cannot change.
    win::requestPerMonitorDpi();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    win::initCommonControls(icc);
    loadSettingsAndFonts();

    auto* bar = new BarWindow();
    RECT rc{0, 0, 100, 30};
    if (!bar->Create(rc, nullptr)) {
        // However far the creation got, the window's final message has released the object.
        return false;
    }
    // The bar has set its crash guard up in its WM_CREATE.
    g_bar = bar;
    if (!g_settings.startInTray) ShowWindow(bar->hwnd(), SW_SHOW);
    return true;
}

int runMessageLoop() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Posted by another program, with a pointer into nothing: never dispatched.
        if (win::carriesStructure(msg.message)) continue;
        HWND barHwnd = g_bar ? g_bar->hwnd() : nullptr;
        if (barHwnd) g_bar->preTranslateMessage(msg);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g_bar = nullptr;
    return static_cast<int>(msg.wParam);
}

void barDestroyed(BarWindow* bar) {
    if (g_bar == bar) {
        g_bar = nullptr;
        // The teardown has already given everything back.
        clearCrashGuard();
    }
}

} // namespace app
