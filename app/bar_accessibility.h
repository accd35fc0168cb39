// What a screen reader sees of the bar: its painted browser buttons and its own picture buttons, as push
// buttons of one tool bar.
#pragma once
#include <windows.h>

#include "win/accessible_strip.h"

namespace app {

class BarWindow;

class BarAccessibility final : public win::AccessibleSource {
  public:
    explicit BarAccessibility(BarWindow& bar) : bar_(bar) {}
    ~BarAccessibility() override;
    BarAccessibility(const BarAccessibility&) = delete;
    BarAccessibility& operator=(const BarAccessibility&) = delete;

    // The answer to WM_GETOBJECT: the strip for the client area, the system's default for the rest.
    LRESULT answer(WPARAM wParam, LPARAM lParam);
    // Tells listeners that a browser button (0-based, in list order) was added, removed, renamed or changed
    // state (the WinEvent names which).
    void notifyBrowserButton(DWORD event, int index) const;

    HWND accessibleWindow() const override;
    std::vector<win::AccessibleButton> accessibleButtons() const override;
    void pressAccessibleButton(int index) override;

  private:
    BarWindow& bar_;
    IAccessible* strip_ = nullptr;
    bool comStarted_ = false;
};

} // namespace app
