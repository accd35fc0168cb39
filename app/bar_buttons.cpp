// The browser buttons: painted by the bar itself, one per tracked window, hit-tested on mouse presses.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/bar_window.h"
#include "core/button_layout.h"
#include "win/text.h"

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

// The rectangles of a region: activating two buttons far apart must repaint two buttons, not the stretch
// between them that their bounding box would cover.
std::vector<RECT> rectanglesOf(HRGN region, const RECT& fallback) {
    DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> data(size);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (size < sizeof(RGNDATAHEADER) || GetRegionData(region, size, header) != size || header->rdh.nCount == 0)
        return {fallback};
    const RECT* first = reinterpret_cast<const RECT*>(header->Buffer);
    return std::vector<RECT>(first, first + header->rdh.nCount);
}

// The buttons that meet any of the rectangles, as ranges in list order without overlaps.
std::vector<std::pair<int, int>> rangesMeeting(const core::ButtonRow& row, const std::vector<RECT>& rects) {
    std::vector<std::pair<int, int>> ranges;
    for (const RECT& r : rects) {
        std::pair<int, int> range = row.meeting(r.left, r.right);
        if (range.second > range.first) ranges.push_back(range);
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& range : ranges) {
        if (!merged.empty() && range.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    }
    return merged;
}

// The region a paint may draw in, in client coordinates, read from the paint's DC (the system made it from the
// update region) rather than asked of the server once more: a server call costs as much as a small paint.
bool paintRegion(HDC dc, HWND window, HRGN out) {
    if (GetRandomRgn(dc, out, SYSRGN) != 1) return false;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRgn(out, -origin.x, -origin.y);
    return true;
}

std::uint64_t microsecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<std::uint64_t>((now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
}
} // namespace

void BarWindow::onPaint() {
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    RECT client{};
    GetClientRect(hwnd(), &client);
    PaintScope paint(hwnd());
    win::GdiObject update(CreateRectRgn(0, 0, 0, 0));
    bool regionKnown = update && paintRegion(paint.dc(), hwnd(), static_cast<HRGN>(update.get()));
    layOutButtons(client);
    std::vector<RECT> rects = regionKnown ? rectanglesOf(static_cast<HRGN>(update.get()), paint.area())
                                          : std::vector<RECT>{paint.area()};
    // Drawn off screen and copied in one piece, the strip never shows a half-painted state.
    HDC buffer = backBuffer(paint.dc(), client);
    HDC dc = buffer ? buffer : paint.dc();
    if (buffer) SelectClipRgn(buffer, regionKnown ? static_cast<HRGN>(update.get()) : nullptr);
    drawStrip(dc, client, rects);
    if (buffer) {
        const RECT& a = paint.area();
        BitBlt(paint.dc(), a.left, a.top, a.right - a.left, a.bottom - a.top, buffer, a.left, a.top, SRCCOPY);
        SelectClipRgn(buffer, nullptr);
    }
    work_.paintMicroseconds += microsecondsSince(start);
}

void BarWindow::drawStrip(HDC dc, const RECT& client, const std::vector<RECT>& rects) {
    const core::Settings& s = settings();
    fillSolid(dc, client, static_cast<COLORREF>(s.barBackgroundColor));
    draw3dRect(dc, client, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    std::vector<std::pair<int, int>> ranges = rangesMeeting(row_, rects);
    if (ranges.empty()) return;
    win::SelectObjectScope font(dc, buttonFont());
    SetBkMode(dc, TRANSPARENT);
    int lastWithGlyph = -1;
    if (s.showCloseGlyph) lastWithGlyph = s.closeGlyphOnActiveOnly ? browserList.findLast(activeBrowser)
                                                                   : browserList.count() - 1;
    for (const auto& range : ranges) {
        for (int i : core::buttonsToDraw(row_, range.first, range.second, lastWithGlyph)) {
            if (!browserList.validIndex(i)) break;
            paintButton(dc, browserList.entries[static_cast<std::size_t>(i)]);
        }
    }
}

void BarWindow::layOutButtons(const RECT& client) {
    // Activation and retitling leave the layout as it was: only a change of the list or of the bar's size
    // costs a pass over every button.
    if (rowChanges_ == browserList.changes() && EqualRect(&client, &rowClient_)) return;
    row_ = core::buttonRow(toCore(client), browserList.count(), barDpi());
    rowChanges_ = browserList.changes();
    rowClient_ = client;
    browserList.forEachEntry([this](int i, BrowserEntry& entry) {
        RECT placed = toRect(row_.at(i));
        // The tool tip control looks each tool up by a linear search: telling it only what moved keeps a
        // change of one button from costing a pass over every tool.
        if (!EqualRect(&placed, &entry.buttonRect)) {
            entry.buttonRect = placed;
            moveBrowserTool(entry);
        }
    });
}

HDC BarWindow::backBuffer(HDC screen, const RECT& client) {
    SIZE size{client.right - client.left, client.bottom - client.top};
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    if (!bufferDc_) bufferDc_.reset(CreateCompatibleDC(screen));
    if (!bufferDc_) return nullptr;
    if (!bufferBitmap_ || size.cx != bufferSize_.cx || size.cy != bufferSize_.cy) {
        win::Bitmap bitmap(CreateCompatibleBitmap(screen, size.cx, size.cy));
        if (!bitmap) return nullptr;
        // The bitmap it replaces is let go only once the new one is selected in its place.
        SelectObject(bufferDc_.get(), bitmap.get());
        bufferBitmap_ = std::move(bitmap);
        bufferSize_ = size;
    }
    return bufferDc_.get();
}

void BarWindow::moveBrowserTool(const BrowserEntry& entry) {
    if (!toolTips_) return;
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(entry.window);
    ti.rect = entry.buttonRect;
    ++work_.toolTipMessages;
    SendMessageW(toolTips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void BarWindow::invalidateButton(HWND window) {
    // A window listed twice has two buttons with the same face.
    browserList.forEachIndexOf(
        window, [this](int index) { invalidateEntry(browserList.entries[static_cast<std::size_t>(index)]); });
}

void BarWindow::invalidateEntry(const BrowserEntry& entry) {
    const RECT& r = entry.buttonRect;
    // A button not laid out yet has no place: the whole bar is due anyway.
    if (r.bottom <= r.top) {
        InvalidateRect(hwnd(), nullptr, TRUE);
        return;
    }
    // Its painted extent, not its rectangle: a narrow button's glyph sticks out, an inverted one has no area.
    RECT extent = toRect(core::paintedExtent(toCore(r), barDpi()));
    InvalidateRect(hwnd(), &extent, TRUE);
}

LRESULT BarWindow::workCount(WPARAM which) const {
    switch (static_cast<BarWork>(which)) {
    case BarWork::ToolTipMessages:
        return static_cast<LRESULT>(work_.toolTipMessages);
    case BarWork::ButtonsPainted:
        return static_cast<LRESULT>(work_.buttonsPainted);
    case BarWork::EntriesVisited:
        return static_cast<LRESULT>(browserList.visits());
    case BarWork::PaintMicroseconds:
        return static_cast<LRESULT>(work_.paintMicroseconds);
    }
    return -1;
}

void BarWindow::setActiveBrowser(HWND window) {
    if (window == activeBrowser) return;
    HWND previous = activeBrowser;
    activeBrowser = window;
    notifyActiveChange(previous, window);
    // Only the two buttons whose face changes are drawn again.
    if (previous) invalidateButton(previous);
    if (window) invalidateButton(window);
}

void BarWindow::paintButton(HDC dc, const BrowserEntry& entry) {
    ++work_.buttonsPainted;
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
    RECT text = toRect(core::textRect(toCore(r), barDpi()));
    // The title is clipped to its rectangle: an empty or inverted one shows none of it, and skipping the
    // text measuring there keeps a strip of a few hundred narrow buttons cheap to repaint.
    if (text.right > text.left) {
        const std::wstring title = win::widen(entry.title);
        DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (core::glyphShown(s.showCloseGlyph != 0, s.closeGlyphOnActiveOnly != 0, active)) {
        core::Point at = core::glyphOrigin(toCore(r), barDpi());
        const int side = core::glyphSize(barDpi());
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(closeGlyphIcon.get()), 0, at.x, at.y, side, side,
                   DST_ICON);
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
        press.onGlyph = core::onCloseGlyph(entry.buttonRect, at, shown, barDpi());
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
    if (!header || header->code != TTN_NEEDTEXTW) return 0;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
    if (info->uFlags & TTF_IDISHWND) return TRUE;
    int index = FindEntry(reinterpret_cast<HWND>(header->idFrom));
    // The tip shows the whole title, which the button may cut short.
    if (index >= 0) {
        // The control copies the text before this buffer is next written.
        tipText_ = win::widen(browserList.entries[static_cast<std::size_t>(index)].title);
        info->lpszText = tipText_.data();
    }
    return TRUE;
}

} // namespace app
