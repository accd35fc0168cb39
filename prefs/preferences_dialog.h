// The modal preferences dialog: a tree of five pages on the left, the selected page on the right, and a
// single "Close" button, since every change is stored the moment it is made.
#pragma once
#include <windows.h>

#include "prefs/preferences_host.h"
#include "win/dialog.h"

namespace prefs {

class PreferencesPage;

class PreferencesDialog : public win::Dialog {
  public:
    explicit PreferencesDialog(PreferencesHost& host);
    ~PreferencesDialog() override;

    // Runs the dialog, owned by the bar window, on the page shown when it last closed.
    INT_PTR run();

    // Accepted changes that the dialog carries out when it closes.
    void notePlacementChanged() { placementChanged_ = true; }
    void noteBarGeometryChanged() { barGeometryChanged_ = true; }
    bool placementChanged() const { return placementChanged_; }
    bool barGeometryChanged() const { return barGeometryChanged_; }
    // From the moment closing has judged the pending edit, nothing more is judged.
    bool closing() const { return closing_; }

    int selectedPageId() const { return selectedPageId_; }
    void setSelectedPageId(int id) { selectedPageId_ = id; }
    PreferencesPage* currentPage() const { return currentPage_; }

  protected:
    INT_PTR dialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool onCommand(UINT code, int id, HWND control) override;
    bool onNotify(const NMHDR& header, LRESULT& result) override;

  private:
    BOOL onInitDialog();
    void fillTree();
    void selectInitialPage();
    void showPage(int pageId);
    void destroyPage();
    void onClose();

    PreferencesHost& host_;
    HWND tree_ = nullptr;
    PreferencesPage* currentPage_ = nullptr;
    int selectedPageId_ = 0;
    bool placementChanged_ = false;
    bool barGeometryChanged_ = false;
    bool closing_ = false;
};

} // namespace prefs
