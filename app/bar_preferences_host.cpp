#include "app/bar_preferences_host.h"

#include <shellapi.h>

#include "app/app.h"
#include "app/settings_store.h"
#include "prefs/preferences_dialog.h"

namespace app {

core::Settings& BarPreferencesHost::settings() {
    return app::settings();
}
HINSTANCE BarPreferencesHost::instance() {
    return app::instance();
}
HFONT BarPreferencesHost::dialogFont() {
    return app::dialogFont();
}
HFONT BarPreferencesHost::buttonFont() {
    return app::buttonFont();
}
void BarPreferencesHost::rebuildButtonFont() {
    app::rebuildButtonFont();
}

void BarPreferencesHost::writeDword(const char* name, int32_t value) {
    writeDwordSetting(core::kSettingsKey, name, value);
}

void BarPreferencesHost::writeString(const char* name, const std::string& text) {
    writeStringSetting(core::kSettingsKey, name, text);
}

void BarPreferencesHost::dockEdgeChanged() {
    // Handled exactly as the shell's own "position changed" notification.
    SendMessageA(bar_.hwnd(), WM_BAR_APPBARNOTIFY, ABN_POSCHANGED, 0);
}

void BarPreferencesHost::placeBrowsers() {
    bar_.Place(nullptr);
}

void BarWindow::showPreferences() {
    BarPreferencesHost host(*this, shell_.hotKeys, lastPreferencesPage_);
    prefs::PreferencesDialog dialog(host);
    dialog.run();
}

void BarWindow::retitle() {
    ownButtons_.retitle();
    shell_.trayIcon.retitle();
}

} // namespace app
