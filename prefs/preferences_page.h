// One page of the preferences dialog. A single class serves all five page templates: what a page shows
// and handles depends only on which controls its template contains. Every accepted change is stored in
// the settings and written to the registry at once. The object deletes itself when its window is gone.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "controls/colour_button.h"
#include "core/preference_rules.h"
#include "prefs/preferences_host.h"
#include "win/dialog.h"

namespace prefs {

class PreferencesDialog;

class PreferencesPage : public win::Dialog {
  public:
    PreferencesPage(PreferencesHost& host, PreferencesDialog& dialog);
    ~PreferencesPage() override;

  protected:
    INT_PTR dialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool onCommand(UINT code, int id, HWND control) override;
    void onFinalMessage() override;

  private:
    BOOL onInitDialog();
    void initButtons();
    void initEdits();
    void initHotKeys();
    void onCheckBox(int id);
    void onPlacement(core::Placement choice);
    void showPlacement();
    void onEditLostFocus(int id);
    bool takeNumber(int id, const std::string& text);
    void refuse(HWND edit);
    void onFont();
    void onBrowse();
    LRESULT onColourEnded(UINT msg, WPARAM colour, LPARAM controlId);
    BOOL onHelp(const HELPINFO& info);
    void onDestroy();
    // The General page's language list (page_language.cpp).
    void initLanguages();
    void onLanguageChosen();
    // The monitors the bars dock on (page_monitors.cpp).
    void initBarsOn();
    void onBarsOnChosen();
    void takeHotKey(int controlId, int32_t core::Settings::*field, int hotKeyId);

    void attachColourButtons();
    COLORREF colourOf(int controlId, WPARAM reported) const;

    void repaintBar();

    PreferencesHost& host_;
    // The device names behind the "only this monitor" entries of the bars' list, in its order.
    std::vector<std::string> monitorChoices_;
    PreferencesDialog& dialog_;
    struct ColourButtons;
    ColourButtons* colours_ = nullptr;
};

} // namespace prefs
