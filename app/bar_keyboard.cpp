// The bar under the keyboard. The focus hot key brings the keyboard to the bar (a hot key's message carries
// the right to come to the front); the strip marks the focused browser button, an own button marks itself.
// The bar remembers the window that had the keyboard and gives it back on Escape. Another window's
// activation (a button pressed with Enter brings its window forward) ends it without a word.
#include "app/app.h"
#include "app/bar_window.h"
#include "app/popup_menus.h"

namespace app {

int BarWindow::keyboardPlace() const {
    if (!keyboard_.held) return -1;
    if (keyboard_.own >= 0) return tracker_.list().count() + keyboard_.own;
    return strip_.focusMark();
}

void BarWindow::takeKeyboard() {
    // A bar in the tray has nothing to show the focus on; one behind its modal preferences takes no keys.
    if (!IsWindowVisible(hwnd()) || !IsWindowEnabled(hwnd())) return;
    HWND front = GetForegroundWindow();
    if (front != hwnd()) keyboard_.giveBackTo = front;
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
    keyboard_.held = true;
    const int own = static_cast<int>(ownButtons_.made().size());
    const BrowserWindowList& list = tracker_.list();
    focusPlace(core::firstFocus(list.find(tracker_.active()), list.count(), own));
}

void BarWindow::focusPlace(int place) {
    const int browsers = tracker_.list().count();
    std::vector<controls::CHoverButton*> own = ownButtons_.made();
    keyboard_.own = place >= browsers ? place - browsers : -1;
    strip_.setFocusMark(place < browsers ? place : -1);
    for (std::size_t k = 0; k < own.size(); ++k)
        own[k]->setFocusMark(static_cast<int>(k) == keyboard_.own);
    accessibility_.focusMoved(place);
}

LRESULT BarWindow::onKeyDown(UINT msg, WPARAM virtualKey, LPARAM lParam) {
    const core::BarKey key = core::barKeyOf(static_cast<unsigned>(virtualKey), GetKeyState(VK_SHIFT) < 0);
    const int place = keyboardPlace();
    if (!keyboard_.held || key == core::BarKey::Other) return defaultProc(msg, virtualKey, lParam);
    if (place < 0 && key != core::BarKey::GiveBack) {
        // The focused button went, and nothing is left to take the mark: start again from the front.
        focusPlace(
            core::firstFocus(-1, tracker_.list().count(), static_cast<int>(ownButtons_.made().size())));
        return 0;
    }
    actOnFocus(key, place);
    return 0;
}

void BarWindow::actOnFocus(core::BarKey key, int place) {
    const BrowserWindowList& list = tracker_.list();
    const bool onBrowser = list.validIndex(place);
    switch (key) {
    case core::BarKey::Press:
        accessibility_.pressAccessibleButton(place);
        return;
    case core::BarKey::Close:
        // As the close glyph does; the button goes when the window does, and the mark passes on.
        if (onBrowser) PostMessageA(list.entries[static_cast<std::size_t>(place)].window, WM_CLOSE, 0, 0);
        return;
    case core::BarKey::Menu: {
        RECT r{};
        if (onBrowser) {
            r = strip_.buttonRect(place);
            MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
            runButtonMenu(hwnd(), list.entries[static_cast<std::size_t>(place)].window, {r.left, r.bottom});
        } else {
            std::vector<controls::CHoverButton*> own = ownButtons_.made();
            if (keyboard_.own < 0 || static_cast<std::size_t>(keyboard_.own) >= own.size()) return;
            GetWindowRect(own[static_cast<std::size_t>(keyboard_.own)]->hwnd(), &r);
            showBarMenu({r.left, r.bottom});
        }
        return;
    }
    case core::BarKey::GiveBack:
        giveKeyboardBack();
        return;
    default:
        focusPlace(core::movedFocus(key, place, list.count(), static_cast<int>(ownButtons_.made().size())));
        return;
    }
}

void BarWindow::giveKeyboardBack() {
    if (!keyboard_.held) return;
    HWND to = keyboard_.giveBackTo;
    endKeyboard();
    if (to && IsWindow(to)) SetForegroundWindow(to);
}

void BarWindow::endKeyboard() {
    if (!keyboard_.held) return;
    keyboard_ = Keyboard{};
    strip_.setFocusMark(-1);
    for (controls::CHoverButton* own : ownButtons_.made())
        own->setFocusMark(false);
}

} // namespace app
