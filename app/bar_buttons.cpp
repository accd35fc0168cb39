// Presses on the browser buttons: the strip says which button and what the press meets, core/ decides what
// it does, and the bar does it.
#include <windowsx.h>

#include "app/app.h"
#include "app/bar_window.h"
#include "app/popup_menus.h"

namespace app {

LRESULT BarWindow::onLeftButtonDown(WPARAM keys, LPARAM at) {
    return pressOnStrip(strip_, hwnd(), keys, at);
}

LRESULT BarWindow::pressOnStrip(const ButtonStrip& strip, HWND window, WPARAM keys, LPARAM at) {
    const POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    const int index = strip.hit(p);
    // The key state that came with the press counts too: the bar does not have the keyboard focus (a click
    // leaves the browser active), so its own thread's view of the keyboard may lag behind.
    const bool shift = (keys & MK_SHIFT) != 0 || GetKeyState(VK_SHIFT) < 0;
    const core::LeftAction action = core::decideLeftPress(strip.leftPressAt(index, p, shift));
    runLeftAction(index, action);
    // Buttons are dragged on this bar's own strip only; a press that closes leaves no button to drag.
    if (window != hwnd()) {
        InvalidateRect(window, nullptr, TRUE);
    } else if (action != core::LeftAction::CloseWindow && action != core::LeftAction::CloseAll) {
        holdPress(index, p);
    }
    return 0;
}

void BarWindow::runLeftAction(int index, core::LeftAction action) {
    const BrowserWindowList& list = tracker_.list();
    HWND window = list.validIndex(index) ? list.entries[static_cast<std::size_t>(index)].window : nullptr;
    switch (action) {
    case core::LeftAction::ClearActive:
        tracker_.setActive(nullptr);
        return;
    case core::LeftAction::CloseWindow:
        PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    case core::LeftAction::CloseAll:
        tracker_.CloseAll();
        return;
    case core::LeftAction::BringToFront:
        if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
        SetForegroundWindow(window);
        return;
    case core::LeftAction::RestoreActive:
    case core::LeftAction::MinimiseActive:
    case core::LeftAction::MinimiseAll:
        break;
    }
    // A second click on the active button: it is no longer marked, whatever happens to the window.
    tracker_.setActive(nullptr);
    if (action == core::LeftAction::RestoreActive) {
        ShowWindowAsync(window, SW_RESTORE);
        SetForegroundWindow(window);
    } else if (action == core::LeftAction::MinimiseActive) {
        ShowWindowAsync(window, SW_MINIMIZE);
    } else {
        tracker_.MinimiseAll();
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT BarWindow::onLeftDoubleClick(LPARAM at) {
    // The second press of a double click does nothing (a double click on a button acts once), but it may
    // still drag the button.
    const POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    holdPress(strip_.hit(p), p);
    return 0;
}

LRESULT BarWindow::onRightButtonDown(LPARAM at) {
    return rightPressOnStrip(strip_, hwnd(), at);
}

LRESULT BarWindow::rightPressOnStrip(const ButtonStrip& strip, HWND window, LPARAM at) {
    const POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    const int index = strip.hit(p);
    POINT screen = p;
    ClientToScreen(window, &screen);
    if (!tracker_.list().validIndex(index)) return showBarMenu(screen), 0;
    runButtonMenu(hwnd(), tracker_.list().entries[static_cast<std::size_t>(index)].window, screen);
    return 0;
}

HWND BarWindow::browserAt(LPARAM at) const {
    const int index = strip_.hit({GET_X_LPARAM(at), GET_Y_LPARAM(at)});
    const BrowserWindowList& list = tracker_.list();
    return list.validIndex(index) ? list.entries[static_cast<std::size_t>(index)].window : nullptr;
}

LRESULT BarWindow::onMiddleButtonDown(LPARAM at) {
    // The window, not the place: a button closing meanwhile moves another under the pointer.
    middlePressed_ = browserAt(at);
    return 0;
}

LRESULT BarWindow::onMiddleButtonUp(LPARAM at) {
    HWND pressed = middlePressed_;
    middlePressed_ = nullptr;
    // A press moved off its button before the release is taken back, as on a browser's tab.
    if (!settings().middleClickCloses || !pressed || browserAt(at) != pressed) return 0;
    // The close glyph's way: the window is asked, and may ask its user first.
    PostMessageA(pressed, WM_CLOSE, 0, 0);
    return 0;
}

core::LeftAction BarWindow::plainClickAction(int index) const {
    const BrowserEntry& entry = tracker_.list().entries[static_cast<std::size_t>(index)];
    core::LeftPress press;
    press.hit = true;
    press.isActive = entry.window == tracker_.active();
    press.iconic = IsIconic(entry.window) != 0;
    press.minimizeOnSecondClick = settings().minimizeOnSecondClick;
    return core::decideLeftPress(press);
}

void BarWindow::pressBrowserButton(int index) {
    if (tracker_.list().validIndex(index)) runLeftAction(index, plainClickAction(index));
}

} // namespace app
