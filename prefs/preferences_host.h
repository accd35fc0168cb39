// What the preferences need from the program that shows them: the settings record, the registry, the
// fonts and the bar window with its operations. The bar program supplies the real one; tests may
// supply their own.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/settings.h"

namespace prefs {

class PreferencesHost {
  public:
    virtual ~PreferencesHost() = default;

    virtual core::Settings& settings() = 0;
    virtual HINSTANCE instance() = 0;
    // The window that owns the dialog and shows the settings: repainted, re-docked, holder of the hot keys.
    virtual HWND barWindow() = 0;

    virtual HFONT dialogFont() = 0;
    virtual HFONT buttonFont() = 0;
    // Makes the button font again from the settings.
    virtual void rebuildButtonFont() = 0;

    virtual void writeDword(const char* name, int32_t value) = 0;
    virtual void writeString(const char* name, const std::string& text) = 0;
    // A change the user made: the record and the stored value together, under the field's own name.
    void change(int32_t core::Settings::*field, int32_t value) {
        settings().*field = value;
        writeDword(core::valueName(field), value);
    }
    void change(bool core::Settings::*field, bool on) {
        settings().*field = on;
        writeDword(core::valueName(field), on ? 1 : 0);
    }
    void change(std::string core::Settings::*field, const std::string& text) {
        settings().*field = text;
        writeString(core::valueName(field), text);
    }

    // The docking edge changed: the bar handles it as the shell's "position changed" notification.
    virtual void dockEdgeChanged() = 0;
    // Every tracked browser window is placed again by the settings.
    virtual void placeBrowsers() = 0;
    // The bar takes its height and edge from the settings.
    virtual void positionBar() = 0;

    virtual void unregisterHotKey(int id) = 0;
    virtual void registerHotKey(int id, UINT modifiers, UINT virtualKey) = 0;

    // The page shown when the dialog last closed, for the next opening.
    virtual int lastPreferencesPage() = 0;
    virtual void setLastPreferencesPage(int pageId) = 0;

    // Which monitors have a bar, or which bar shows which window, changed: the bars are made again.
    virtual void barsChanged() {}

    // The interface language changed: what stays open (the bar's tool tips, the tray tip) takes its texts.
    virtual void languageChanged() {}
    // "Show window icons" changed: the bar looks for its windows' icons, or lets them go.
    virtual void windowIconsChanged() {}
    // Whether windows of the virtual desktops not in view have buttons changed.
    virtual void desktopFilterChanged() {}
    // A colour, the font or the close glyph changed: every window that shows the settings draws again.
    virtual void repaintBars() { InvalidateRect(barWindow(), nullptr, TRUE); }
};

// Hot-key ids on the bar window.
constexpr int kHotKeyIdHide = 240;
constexpr int kHotKeyIdNew = 241;
constexpr int kHotKeyIdFocus = 242;

} // namespace prefs
