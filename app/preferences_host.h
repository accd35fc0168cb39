// The bar program's side of the preferences: the program-wide settings and fonts, the registry key and
// the bar window's operations.
#pragma once
#include "app/bar_window.h"
#include "prefs/preferences_host.h"

namespace app {

class BarPreferencesHost : public prefs::PreferencesHost {
  public:
    explicit BarPreferencesHost(BarWindow& bar) : bar_(bar) {}

    core::Settings& settings() override;
    HINSTANCE instance() override;
    HWND barWindow() override { return bar_.hwnd(); }
    HFONT dialogFont() override;
    HFONT buttonFont() override;
    void rebuildButtonFont() override;
    void writeDword(const char* name, int32_t value) override;
    void writeString(const char* name, const std::string& text) override;
    void dockEdgeChanged() override;
    void placeBrowsers() override;
    void positionBar() override { bar_.positionBar(); }
    void unregisterHotKey(int id) override { UnregisterHotKey(bar_.hwnd(), id); }
    void registerHotKey(int id, UINT modifiers, UINT virtualKey) override {
        RegisterHotKey(bar_.hwnd(), id, modifiers, virtualKey);
    }
    int lastPreferencesPage() override { return bar_.lastPreferencesPage; }
    void setLastPreferencesPage(int pageId) override { bar_.lastPreferencesPage = pageId; }

  private:
    BarWindow& bar_;
};

} // namespace app
