#include "app/bar_accessibility.h"

#include <algorithm>

#include "app/app.h"
#include "app/bar_window.h"
#include "core/button_click.h"
#include "core/strip_entries.h"
#include "resources/resource.h"
#include "win/ui_text.h"

namespace app {

namespace {
// A screen reader says what a plain click does, in the interface's language: the button menu's own words
// where it has them.
UINT actionTextId(core::LeftAction action) {
    switch (action) {
    case core::LeftAction::CloseWindow:
    case core::LeftAction::CloseAll:
        return IDS_BUTTON_MENU_CLOSE;
    case core::LeftAction::RestoreActive:
        return IDS_BUTTON_MENU_RESTORE;
    case core::LeftAction::MinimiseActive:
    case core::LeftAction::MinimiseAll:
        return IDS_BUTTON_MENU_MINIMIZE;
    case core::LeftAction::BringToFront:
        return IDS_ACTION_SWITCH_TO;
    case core::LeftAction::ClearActive:
        break;
    }
    return 0;
}

std::string actionText(core::LeftAction action) {
    const UINT id = actionTextId(action);
    return id ? win::uiText(instance(), id) : std::string();
}

RECT screenRect(HWND window, RECT r) {
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
} // namespace

BarAccessibility::~BarAccessibility() {
    if (object_) {
        // Clients may still hold the object: it stays alive for them but no longer reaches the bar.
        win::detachAccessibleStrip(object_);
        object_->Release();
    }
    if (comStarted_) CoUninitialize();
}

LRESULT BarAccessibility::answer(WPARAM wParam, LPARAM lParam) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
    if (!comStarted_) comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (!object_) object_ = win::createAccessibleStrip(this);
    if (!object_) return 0;
    // Marshalling hands out a reference of its own; the bar keeps its one.
    return win::lresultFromObject(__uuidof(IAccessible), wParam, object_);
}

void BarAccessibility::notifyBrowserButton(DWORD event, int index) const {
    if (index < 0 || !showsEntry(index)) return;
    const auto before = std::count(shown_.begin(), shown_.begin() + index, true);
    NotifyWinEvent(event, window_, OBJID_CLIENT, static_cast<LONG>(before) + 1);
}

bool BarAccessibility::showsEntry(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < shown_.size() &&
           shown_[static_cast<std::size_t>(index)];
}

bool BarAccessibility::onMainBar() const {
    return &strip_ == &bar_.strip();
}

int BarAccessibility::entryOfButton(int button) const {
    for (std::size_t i = 0; i < shown_.size(); ++i)
        if (shown_[i] && button-- == 0) return static_cast<int>(i);
    return -1;
}

void BarAccessibility::orderChanged() {
    shown_.clear();
    for (const BrowserEntry& entry : model_.list().entries)
        shown_.push_back(strip_.shows(entry));
    // The buttons were filled at start-up, moved by a drag or shown again by another filter.
    if (window_) NotifyWinEvent(EVENT_OBJECT_REORDER, window_, OBJID_CLIENT, CHILDID_SELF);
}

void BarAccessibility::filterChanged() {
    orderChanged();
}

void BarAccessibility::entryAdded(int index, HWND) {
    if (!model_.list().validIndex(index) || static_cast<std::size_t>(index) > shown_.size()) return;
    const BrowserEntry& entry = model_.list().entries[static_cast<std::size_t>(index)];
    shown_.insert(shown_.begin() + index, strip_.shows(entry));
    notifyBrowserButton(EVENT_OBJECT_CREATE, index);
}

void BarAccessibility::entryRemoving(int index, HWND) {
    notifyBrowserButton(EVENT_OBJECT_DESTROY, index);
    if (index >= 0 && static_cast<std::size_t>(index) < shown_.size()) shown_.erase(shown_.begin() + index);
}

void BarAccessibility::entryChanged(int index) {
    if (!model_.list().validIndex(index) || static_cast<std::size_t>(index) >= shown_.size()) return;
    const BrowserEntry& entry = model_.list().entries[static_cast<std::size_t>(index)];
    const bool shown = strip_.shows(entry);
    if (shown == shown_[static_cast<std::size_t>(index)]) {
        // A change names neither its text nor its state (a call for attention): both are announced.
        notifyBrowserButton(EVENT_OBJECT_NAMECHANGE, index);
        notifyBrowserButton(EVENT_OBJECT_STATECHANGE, index);
        return;
    }
    shown_[static_cast<std::size_t>(index)] = shown;
    NotifyWinEvent(EVENT_OBJECT_REORDER, window_, OBJID_CLIENT, CHILDID_SELF);
}

void BarAccessibility::focusMoved(int place) const {
    if (place >= 0) NotifyWinEvent(EVENT_OBJECT_FOCUS, window_, OBJID_CLIENT, place + 1);
}

void BarAccessibility::activeChanged(HWND previous, HWND now) {
    // Listeners hear of both buttons whose pressed state changed.
    for (HWND changed : {previous, now}) {
        if (changed)
            model_.list().forEachIndexOf(changed,
                                         [this](int i) { notifyBrowserButton(EVENT_OBJECT_STATECHANGE, i); });
    }
}

HWND BarAccessibility::accessibleWindow() const {
    return window_;
}

std::vector<win::AccessibleButton> BarAccessibility::accessibleButtons() const {
    std::vector<win::AccessibleButton> out;
    const BrowserWindowList& list = model_.list();
    const int focused = onMainBar() ? bar_.keyboardPlace() : -1;
    for (int i = 0; i < list.count(); ++i) {
        if (!showsEntry(i)) continue;
        const BrowserEntry& entry = list.entries[static_cast<size_t>(i)];
        win::AccessibleButton b;
        b.name = entry.title;
        b.pressed = entry.window == model_.active();
        b.alert = entry.attention;
        b.defaultAction = actionText(bar_.plainClickAction(i));
        b.screenRect = screenRect(window_, strip_.buttonRect(i));
        b.focused = i == focused;
        out.push_back(std::move(b));
    }
    for (std::size_t k = 0; k < OwnButtons::kCount && onMainBar(); ++k) {
        const controls::CHoverButton& button = bar_.ownButtons().leftToRight(k);
        if (!button.hwnd()) continue;
        win::AccessibleButton b;
        // An own button's name is the text its tool tip shows.
        b.name = button.toolTipText();
        b.defaultAction = win::uiText(instance(), IDS_ACTION_PRESS);
        GetWindowRect(button.hwnd(), &b.screenRect);
        b.focused = static_cast<int>(out.size()) == focused;
        out.push_back(std::move(b));
    }
    return out;
}

void BarAccessibility::pressAccessibleButton(int index) {
    const int browsers = static_cast<int>(std::count(shown_.begin(), shown_.end(), true));
    if (index < browsers) {
        if (model_.list().validIndex(entryOfButton(index))) bar_.pressBrowserButton(entryOfButton(index));
        return;
    }
    int own = browsers;
    for (std::size_t k = 0; k < OwnButtons::kCount && onMainBar(); ++k) {
        const controls::CHoverButton& button = bar_.ownButtons().leftToRight(k);
        if (!button.hwnd()) continue;
        if (own++ != index) continue;
        // Posted: the caller may be a client waiting across processes.
        const auto id = static_cast<WORD>(GetDlgCtrlID(button.hwnd()));
        PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button.hwnd()));
        return;
    }
}

} // namespace app
