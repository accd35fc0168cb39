// What a screen reader sees of a bar: its painted browser buttons and, on the main bar, its own picture
// buttons, as push buttons of one tool bar. Each bar has its own view of its own strip; the presses are the
// main bar's to carry out.
#pragma once
#include <windows.h>

#include <vector>

#include "app/browser_entry.h"
#include "win/accessible_strip.h"

namespace app {

class BarWindow;
class BrowserTracker;
class ButtonStrip;

class BarAccessibility final : public win::AccessibleSource, public BrowserListObserver {
  public:
    // The main bar is asked only for its presses (and, for its own view, its own buttons and the keyboard);
    // the announcements read the model and the strip alone.
    BarAccessibility(BarWindow& bar, const BrowserTracker& model, const ButtonStrip& strip)
        : bar_(bar), model_(model), strip_(strip) {}
    // The window the strip is drawn in, on which the events are raised.
    void attach(HWND window) noexcept { window_ = window; }
    ~BarAccessibility() override;
    BarAccessibility(const BarAccessibility&) = delete;
    BarAccessibility& operator=(const BarAccessibility&) = delete;

    // The answer to WM_GETOBJECT: the strip for the client area, the system's default for the rest.
    LRESULT answer(WPARAM wParam, LPARAM lParam);
    // Listeners hear of every browser button (0-based, in the strip's order) added, removed, renamed or
    // changed in state (a call for attention is both a name and a state), and of the strip's children
    // changing when a window's button comes or goes while it stays listed (its desktop came into view or left
    // it).
    void orderChanged() override;
    void entryAdded(int index, HWND) override;
    void entryRemoving(int index, HWND) override;
    void entryChanged(int index) override;
    // The keyboard's focus came to the place (0-based, browser buttons first, as the children are counted).
    void focusMoved(int place) const;
    void activeChanged(HWND previous, HWND now) override;
    // The settings that decide which windows have a button changed.
    void filterChanged();

    HWND accessibleWindow() const override;
    std::vector<win::AccessibleButton> accessibleButtons() const override;
    void pressAccessibleButton(int index) override;

  private:
    void notifyBrowserButton(DWORD event, int index) const;
    bool showsEntry(int index) const;
    // The main bar's view: it also holds the own buttons, and the keyboard comes only to it.
    bool onMainBar() const;
    // The list index of the strip's button (0-based); -1 past the last.
    int entryOfButton(int button) const;

    BarWindow& bar_;
    const BrowserTracker& model_;
    const ButtonStrip& strip_;
    HWND window_ = nullptr;
    // Per list entry, whether it has a button, as the listeners were last told.
    std::vector<bool> shown_;
    IAccessible* object_ = nullptr;
    bool comStarted_ = false;
};

} // namespace app
