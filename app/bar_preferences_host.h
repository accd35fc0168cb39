// The bar program's side of the preferences: the program-wide settings and fonts, the registry key and
// the bar window's operations.
#pragma once
#include "app/bar_window.h"
#include "app/hot_keys.h"
#include "prefs/preferences_host.h"

namespace app {

class BarPreferencesHost : public prefs::PreferencesHost {
  public:
    BarPreferencesHost(BarWindow& bar, BrowserTracker& tracker, HotKeys& hotKeys, int& lastPage)
        : bar_(bar), tracker_(tracker), hotKeys_(hotKeys), lastPage_(lastPage) {}

    core::Settings& settings() override;
    HINSTANCE instance() override;
    HWND barWindow() override { return bar_.hwnd(); }
    HFONT dialogFont() override;
    HFONT buttonFont() override;
    void rebuildButtonFont() override;
    void writeDword(const char* name, int32_t value) override;
    void writeString(const char* name, const std::string& text) override;
    void dockEdgeChanged() override;
    void placeBrowsers() override { tracker_.Place(nullptr); }
    void positionBar() override { bar_.positionBar(); }
    void unregisterHotKey(int id) override { hotKeys_.remove(id); }
    void registerHotKey(int id, UINT modifiers, UINT virtualKey) override {
        hotKeys_.set(id, modifiers, virtualKey);
    }
    int lastPreferencesPage() override { return lastPage_; }
    void setLastPreferencesPage(int pageId) override { lastPage_ = pageId; }
    void languageChanged() override { bar_.retitle(); }
    void windowIconsChanged() override { tracker_.readIcons(); }
    void barsChanged() override { bar_.remakeBars(); }
    void desktopFilterChanged() override { bar_.followDesktops(); }
    void repaintBars() override { bar_.repaintBars(); }

  private:
    BarWindow& bar_;
    BrowserTracker& tracker_;
    HotKeys& hotKeys_;
    // Kept by the bar between openings of the dialog.
    int& lastPage_;
};

} // namespace app
