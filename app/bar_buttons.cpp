// The browser buttons: painted by the bar itself, one per tracked window, hit-tested on mouse presses.
#include <string>
#include <vector>

#include "app/app.h"
#include "app/bar_window.h"
#include "core/button_layout.h"

namespace app {

namespace {
core::Rect toCore(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
RECT toRect(const core::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

void fillSolid(HDC dc, const RECT& r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// A one-pixel frame: top and left in one colour, bottom and right in the other.
void draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    fillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    fillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    fillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    fillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
    ~PaintScope() { EndPaint(window_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    const RECT& area() const { return ps_.rcPaint; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};
} // namespace

void BarWindow::onPaint() {
    PaintScope paint(hwnd());
    HDC dc = paint.dc();
    const core::Settings& s = settings();
    RECT client{};
    GetClientRect(hwnd(), &client);
    fillSolid(dc, client, static_cast<COLORREF>(s.barBackgroundColor));
    draw3dRect(dc, client, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));

    win::SelectObjectScope font(dc, buttonFont());
    SetBkMode(dc, TRANSPARENT);
    std::vector<core::Rect> rects = core::layoutButtons(toCore(client), browserList.count());
    for (std::size_t i = 0; i < rects.size() && i < browserList.entries.size(); ++i) {
        BrowserEntry& entry = browserList.entries[i];
        RECT placed = toRect(rects[i]);
        // The tool tip control looks each tool up by a linear search: telling it only what moved keeps a
        // repaint of a few buttons from costing a pass over every tool.
        if (!EqualRect(&placed, &entry.buttonRect)) {
            entry.buttonRect = placed;
            moveBrowserTool(entry);
        }
        // Buttons wholly outside the area to repaint are skipped; a narrow one's glyph counts as its own.
        RECT extent = toRect(core::paintedExtent(rects[i]));
        RECT overlap{};
        if (IntersectRect(&overlap, &extent, &paint.area())) paintButton(dc, entry);
    }
}

void BarWindow::moveBrowserTool(const BrowserEntry& entry) {
    if (!toolTips_) return;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(entry.window);
    ti.rect = entry.buttonRect;
    SendMessageA(toolTips_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void BarWindow::invalidateButton(HWND window) {
    // A window listed twice has two buttons with the same face.
    browserList.forEachIndexOf(window, [this](int index) {
        const RECT& r = browserList.entries[static_cast<std::size_t>(index)].buttonRect;
        // A button not laid out yet has no place: the whole bar is due anyway.
        if (r.bottom <= r.top) {
            InvalidateRect(hwnd(), nullptr, TRUE);
            return;
        }
        RECT extent = toRect(core::paintedExtent(toCore(r)));
        InvalidateRect(hwnd(), &extent, TRUE);
    });
}

void BarWindow::setActiveBrowser(HWND window) {
    if (window == activeBrowser) return;
    HWND previous = activeBrowser;
    activeBrowser = window;
    // Only the two buttons whose face changes are drawn again.
    if (previous) invalidateButton(previous);
    if (window) invalidateButton(window);
}

void BarWindow::paintButton(HDC dc, const BrowserEntry& entry) {
    const core::Settings& s = settings();
    const RECT& r = entry.buttonRect;
    bool active = entry.window == activeBrowser;
    COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    if (active) {
        fillSolid(dc, r, static_cast<COLORREF>(s.activeButtonColor));
        draw3dRect(dc, r, shadow, highlight);
        SetTextColor(dc, static_cast<COLORREF>(s.activeButtonTextColor));
    } else {
        fillSolid(dc, r, static_cast<COLORREF>(s.barBackgroundColor));
        draw3dRect(dc, r, highlight, shadow);
        SetTextColor(dc, static_cast<COLORREF>(s.buttonTextColor));
    }
    RECT text = toRect(core::textRect(toCore(r)));
    DrawTextA(dc, entry.title.c_str(), static_cast<int>(entry.title.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (core::glyphShown(s.showCloseGlyph != 0, s.closeGlyphOnActiveOnly != 0, active)) {
        core::Point at = core::glyphOrigin(toCore(r));
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(closeGlyphIcon.get()), 0, at.x, at.y,
                   core::buttons::kGlyphSize, core::buttons::kGlyphSize, DST_ICON);
    }
}

void BarWindow::onLeftButtonDown(POINT p, WPARAM keys) {
    const core::Settings& s = settings();
    core::Point at{p.x, p.y};
    int index = core::hitButton(browserList, at);
    core::LeftPress press;
    press.hit = index >= 0;
    // The key state that came with the press counts too: the bar does not have the keyboard focus (a click
    // leaves the browser active), so its own thread's view of the keyboard may lag behind.
    press.shift = (keys & MK_SHIFT) != 0 || GetKeyState(VK_SHIFT) < 0;
    press.minimizeOnSecondClick = s.minimizeOnSecondClick != 0;
    if (press.hit) {
        const BrowserEntry& entry = browserList.entries[static_cast<std::size_t>(index)];
        press.isActive = entry.window == activeBrowser;
        press.iconic = IsIconic(entry.window) != 0;
        bool shown = core::glyphShown(s.showCloseGlyph != 0, s.closeGlyphOnActiveOnly != 0, press.isActive);
        press.onGlyph = core::onCloseGlyph(entry.buttonRect, at, shown);
    }
    runLeftAction(index, core::decideLeftPress(press));
}

void BarWindow::runLeftAction(int index, core::LeftAction action) {
    HWND window =
        browserList.validIndex(index) ? browserList.entries[static_cast<std::size_t>(index)].window : nullptr;
    switch (action) {
    case core::LeftAction::ClearActive:
        setActiveBrowser(nullptr);
        return;
    case core::LeftAction::CloseWindow:
        PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    case core::LeftAction::CloseAll:
        CloseAll();
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
    setActiveBrowser(nullptr);
    if (action == core::LeftAction::RestoreActive) {
        ShowWindowAsync(window, SW_RESTORE);
        SetForegroundWindow(window);
    } else if (action == core::LeftAction::MinimiseActive) {
        ShowWindowAsync(window, SW_MINIMIZE);
    } else {
        MinimiseAll();
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void BarWindow::onRightButtonDown(POINT p) {
    int index = core::hitButton(browserList, core::Point{p.x, p.y});
    POINT screen = p;
    ClientToScreen(hwnd(), &screen);
    if (index < 0) {
        showBarMenu(screen);
        return;
    }
    HWND window = browserList.entries[static_cast<std::size_t>(index)].window;
    win::Menu menu(CreatePopupMenu());
    if (!menu) return;
    InsertMenuA(menu.get(), 0, MF_BYPOSITION | MF_STRING, core::kContextMenuToggle,
                core::contextMenuFirstItem(IsIconic(window) != 0));
    InsertMenuA(menu.get(), 1, MF_BYPOSITION | MF_STRING, core::kContextMenuClose, "Close");
    auto command = static_cast<unsigned>(
        TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, hwnd(), nullptr));
    switch (core::decideContextCommand(command, IsIconic(window) != 0)) {
    case core::MenuAction::RestoreAndFront:
        ShowWindowAsync(window, SW_RESTORE);
        SetForegroundWindow(window);
        break;
    case core::MenuAction::Minimise:
        ShowWindowAsync(window, SW_MINIMIZE);
        break;
    case core::MenuAction::Close:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case core::MenuAction::Nothing:
        break;
    }
}

LRESULT BarWindow::onNotify(const NMHDR* header) {
    if (!header || header->code != TTN_NEEDTEXTA) return 0;
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(const_cast<NMHDR*>(header));
    if (info->uFlags & TTF_IDISHWND) return TRUE;
    int index = FindEntry(reinterpret_cast<HWND>(header->idFrom));
    // The tip shows the whole title, which the button may cut short.
    if (index >= 0) {
        const std::string& title = browserList.entries[static_cast<std::size_t>(index)].title;
        info->lpszText = const_cast<char*>(title.c_str());
    }
    return TRUE;
}

} // namespace app
