// What a screen reader sees of the bar: its painted browser buttons and its own picture buttons, as push
// buttons of one tool bar.
#pragma once
#include <windows.h>

#include "app/browser_entry.h"
#include "win/accessible_strip.h"

namespace app {

class BarWindow;
class BrowserTracker;

class BarAccessibility final : public win::AccessibleSource, public BrowserListObserver {
  public:
    // The bar is asked only for its presses; the announcements read the model alone.
    BarAccessibility(BarWindow& bar, const BrowserTracker& model) : bar_(bar), model_(model) {}
    void attach(HWND bar) noexcept { window_ = bar; }
    ~BarAccessibility() override;
    BarAccessibility(const BarAccessibility&) = delete;
    BarAccessibility& operator=(const BarAccessibility&) = delete;

    // The answer to WM_GETOBJECT: the strip for the client area, the system's default for the rest.
    LRESULT answer(WPARAM wParam, LPARAM lParam);
    // Listeners hear of every browser button (0-based, in list order) added, removed, renamed or changed
    // in state.
    void entryAdded(int index, HWND) override { notifyBrowserButton(EVENT_OBJECT_CREATE, index); }
    void entryRemoving(int index, HWND) override { notifyBrowserButton(EVENT_OBJECT_DESTROY, index); }
    void entryChanged(int index) override { notifyBrowserButton(EVENT_OBJECT_NAMECHANGE, index); }
    void orderChanged() override;
    // The keyboard's focus came to the place (0-based, browser buttons first, as the children are counted).
    void focusMoved(int place) const;
    void activeChanged(HWND previous, HWND now) override;

    HWND accessibleWindow() const override;
    std::vector<win::AccessibleButton> accessibleButtons() const override;
    void pressAccessibleButton(int index) override;

  private:
    void notifyBrowserButton(DWORD event, int index) const;

    BarWindow& bar_;
    const BrowserTracker& model_;
    HWND window_ = nullptr;
    IAccessible* strip_ = nullptr;
    bool comStarted_ = false;
};

} // namespace app
