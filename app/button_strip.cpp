#include "app/button_strip.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "controls/hover_button.h"
#include "core/dpi_scale.h"
#include "core/pixel_fill.h"
#include "resources/resource.h"
#include "win/dpi.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace app {

namespace {
core::Rect toCore(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
RECT toRect(const core::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

void fillSolid(const Canvas& canvas, const RECT& r, COLORREF colour) {
    if (canvas.pixels) {
        core::fillPixels(canvas.pixels, canvas.width, canvas.height, toCore(r), core::pixelOf(colour));
        return;
    }
    SetBkColor(canvas.dc, colour);
    ExtTextOutA(canvas.dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// A one-pixel frame: top and left in one colour, bottom and right in the other.
void draw3dRect(const Canvas& canvas, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    fillSolid(canvas, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    fillSolid(canvas, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    fillSolid(canvas, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    fillSolid(canvas, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

// The rectangles of a region: activating two buttons far apart must repaint two buttons, not the stretch
// between them that their bounding box would cover.
std::vector<RECT> rectanglesOf(HRGN region, const RECT& fallback) {
    DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> data(size);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (size < sizeof(RGNDATAHEADER) || GetRegionData(region, size, header) != size ||
        header->rdh.nCount == 0)
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

std::uint64_t microsecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<std::uint64_t>((now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
}

// The title inside the translated sentence; a language without one still shows the title.
std::string attentionTip(const std::string& title) {
    std::string text = win::uiText(instance(), IDS_TIP_ATTENTION);
    const std::size_t at = text.find("%s");
    if (at == std::string::npos) return title;
    return text.replace(at, 2, title);
}

TOOLINFOW browserTool(HWND owner, HWND window) {
    TOOLINFOW ti{};
    // The version-5 common controls refuse the larger record of later headers.
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = owner;
    // The tool id is the browser's handle, not a window of the bar: no TTF_IDISHWND.
    ti.uId = reinterpret_cast<UINT_PTR>(window);
    return ti;
}
} // namespace

void ButtonStrip::createToolTips() {
    toolTips_ =
        CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance(), nullptr);
    if (!toolTips_) return;
    colourToolTips(toolTips_);
    setToolTipMargins();
    SendMessageA(toolTips_, TTM_SETDELAYTIME, 100, 1000);
    for (const BrowserEntry& entry : model_.list().entries)
        addTool(entry.window);
    // Painted buttons are not laid out again unless they move: their tools take their place before the
    // pointer is next looked at.
    toolsStale_ = true;
    SendMessageA(toolTips_, TTM_ACTIVATE, TRUE, 0);
}

void colourToolTips(HWND tips) {
    if (!tips) return;
    const core::PartColours colours = barColours();
    SendMessageA(tips, TTM_SETTIPBKCOLOR, colours[core::Part::TipFace], 0);
    SendMessageA(tips, TTM_SETTIPTEXTCOLOR, colours[core::Part::TipText], 0);
}

void ButtonStrip::relayToToolTips(const MSG& msg) {
    if (!toolTips_) return;
    if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return;
    const bool pointer = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
    if (pointer && toolsStale_) moveTools();
    MSG copy = msg;
    SendMessageA(toolTips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
}

void ButtonStrip::addTool(HWND window) {
    if (!toolTips_) return;
    TOOLINFOW ti = browserTool(window_, window);
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    ti.rect = {0, 0, 1, 1};
    ++work_.toolTipMessages;
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ButtonStrip::deleteTool(HWND window) {
    if (!toolTips_) return;
    TOOLINFOW ti = browserTool(window_, window);
    ++work_.toolTipMessages;
    SendMessageW(toolTips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ButtonStrip::moveTools() {
    toolsStale_ = false;
    model_.list().forEachEntry([this](int i, const BrowserEntry& entry) {
        if (static_cast<std::size_t>(i) >= places_.entries.size()) return;
        Places& places = places_.entries[static_cast<std::size_t>(i)];
        // The control looks each tool up by a linear search: only the tools that moved are told.
        if (EqualRect(&places.toolRect, &places.buttonRect)) return;
        places.toolRect = places.buttonRect;
        moveTool(entry.window, places.buttonRect);
    });
}

void ButtonStrip::moveTool(HWND window, const RECT& r) {
    if (!toolTips_) return;
    TOOLINFOW ti = browserTool(window_, window);
    ti.rect = r;
    ++work_.toolTipMessages;
    SendMessageW(toolTips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

LRESULT ButtonStrip::onNotify(const NMHDR* header) {
    // Only the strip's own tips are answered: the answer is written into the notification.
    if (!header || header->hwndFrom != toolTips_ || header->code != TTN_NEEDTEXTW) return 0;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
    if (info->uFlags & TTF_IDISHWND) return TRUE;
    const BrowserWindowList& list = model_.list();
    int index = list.find(reinterpret_cast<HWND>(header->idFrom));
    // The tip shows the whole title, which the button may cut short.
    if (index >= 0) {
        const BrowserEntry& entry = list.entries[static_cast<std::size_t>(index)];
        // The control copies the text before this buffer is next written.
        tipText_ = win::widen(entry.attention ? attentionTip(entry.title) : entry.title);
        info->lpszText = tipText_.data();
    }
    return TRUE;
}

void ButtonStrip::paint() {
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    RECT client{};
    GetClientRect(window_, &client);
    win::UpdateScope paint(window_);
    if (!paint.region()) return;
    layOut(client);
    std::vector<RECT> rects = rectanglesOf(paint.region(), paint.area());
    // Drawn off screen and copied in one piece, the strip never shows a half-painted state.
    HDC buffer = backBuffer(paint.dc(), client);
    Canvas canvas{buffer ? buffer : paint.dc()};
    if (buffer) {
        SelectClipRgn(buffer, paint.region());
        // Fills written to memory ignore the clip: only the update region reaches the screen all the same.
        canvas = Canvas{buffer, bufferPixels_, bufferSize_.cx, bufferSize_.cy};
    }
    drawStrip(canvas, client, rects);
    if (buffer) {
        const RECT& a = paint.area();
        BitBlt(paint.dc(), a.left, a.top, a.right - a.left, a.bottom - a.top, buffer, a.left, a.top, SRCCOPY);
        SelectClipRgn(buffer, nullptr);
    }
    work_.paintMicroseconds += microsecondsSince(start);
}

void ButtonStrip::drawStrip(const Canvas& canvas, const RECT& client, const std::vector<RECT>& rects) {
    const core::Settings& s = settings();
    const BrowserWindowList& list = model_.list();
    HDC dc = canvas.dc;
    canvas.flush();
    const core::PartColours colours = barColours();
    fillSolid(canvas, client, colours[core::Part::BarFace]);
    draw3dRect(canvas, client, colours[core::Part::EdgeLight], colours[core::Part::EdgeShadow]);
    std::vector<std::pair<int, int>> ranges = rangesMeeting(row_, rects);
    if (ranges.empty()) return;
    win::SelectObjectScope selected(dc, font());
    SetBkMode(dc, TRANSPARENT);
    int lastWithGlyph = -1;
    if (s.showCloseGlyph)
        lastWithGlyph = s.closeGlyphOnActiveOnly ? lastSlotOf(model_.active()) : slots_.count() - 1;
    for (const auto& range : ranges) {
        for (int slot : core::buttonsToDraw(row_, range.first, range.second, lastWithGlyph)) {
            const int i = slots_.indexAt(slot);
            if (!list.validIndex(i) || static_cast<std::size_t>(i) >= places_.entries.size()) break;
            const int shown = core::entryShownAt(i, drag_.from, drag_.to);
            if (!list.validIndex(shown)) continue;
            const RECT& r = places_.entries[static_cast<std::size_t>(i)].buttonRect;
            paintButton(canvas, colours, list.entries[static_cast<std::size_t>(shown)], r);
            if (shown == focusMark()) drawFocusMark(canvas, r);
        }
    }
}

void ButtonStrip::layOut(const RECT& client) {
    const BrowserWindowList& list = model_.list();
    // Activation and retitling leave the layout as it was: only a change of the list or of the strip's size
    // costs a pass over every button.
    if (!slotsStale_ && rowChanges_ == list.changes() && EqualRect(&client, &rowClient_)) return;
    slots_ = core::StripSlots(list.entries, core::stripFilterOf(settings()),
                              [this](const BrowserEntry& e) { return showing(e); });
    slotsStale_ = false;
    row_ = core::buttonRow(toCore(client), slots_.count(), dpi_);
    rowChanges_ = list.changes();
    rowClient_ = client;
    places_.entries.resize(static_cast<std::size_t>(list.count()));
    for (std::size_t i = 0; i < places_.entries.size(); ++i) {
        // An entry left out has no place: no press, no tool tip meets it.
        const int slot = slots_.slotOf(static_cast<int>(i));
        places_.entries[i].shown = slot >= 0;
        RECT placed = slot >= 0 ? toRect(row_.at(slot)) : RECT{0, 0, 0, 0};
        if (EqualRect(&placed, &places_.entries[i].buttonRect)) continue;
        places_.entries[i].buttonRect = placed;
        // The tool tips need the new places only when the pointer is next on the strip: a burst of windows
        // opening or closing, or a thousand buttons moving, then costs the control one pass, not one a paint.
        toolsStale_ = true;
    }
}

HDC ButtonStrip::backBuffer(HDC screen, const RECT& client) {
    SIZE size{client.right - client.left, client.bottom - client.top};
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    if (!bufferDc_) bufferDc_.reset(CreateCompatibleDC(screen));
    if (!bufferDc_) return nullptr;
    if (!bufferBitmap_ || size.cx != bufferSize_.cx || size.cy != bufferSize_.cy) {
        // Top-down 32-bit pixels the fills write directly.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        win::Bitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        if (!bitmap || !pixels) return nullptr;
        bufferPixels_ = static_cast<std::uint32_t*>(pixels);
        // The bitmap it replaces is let go only once the new one is selected in its place.
        SelectObject(bufferDc_.get(), bitmap.get());
        bufferBitmap_ = std::move(bitmap);
        bufferSize_ = size;
    }
    return bufferDc_.get();
}

void ButtonStrip::invalidateButton(HWND window) {
    // A window listed twice has two buttons with the same face.
    if (window) model_.list().forEachIndexOf(window, [this](int index) { invalidateAt(index); });
}

void ButtonStrip::entryChanged(int index) {
    if (!model_.list().validIndex(index)) return;
    const BrowserEntry& entry = model_.list().entries[static_cast<std::size_t>(index)];
    const bool shown = core::stripShows(showing(entry), core::stripFilterOf(settings()));
    const bool wasShown = static_cast<std::size_t>(index) < places_.entries.size() &&
                          places_.entries[static_cast<std::size_t>(index)].shown;
    if (shown != wasShown) {
        // A button comes or goes: every other one moves.
        filterChanged();
    } else if (shown) {
        invalidateAt(index);
    }
}

void ButtonStrip::setMonitorFilter(MonitorFilter filter) {
    filter_ = std::move(filter);
    filterChanged();
}

bool ButtonStrip::shows(const BrowserEntry& entry) const {
    return core::stripShows(showing(entry), core::stripFilterOf(settings()));
}

core::EntryShowing ButtonStrip::showing(const BrowserEntry& entry) const {
    const bool here =
        core::stripShows(filter_.byMonitor, entry.monitor, filter_.own, filter_.main, filter_.withBars);
    return {entry.cloaked, !here};
}

void ButtonStrip::filterChanged() {
    slotsStale_ = true;
    InvalidateRect(window_, nullptr, TRUE);
}

int ButtonStrip::lastSlotOf(HWND window) const {
    return window ? slots_.slotOf(model_.list().findLast(window)) : -1;
}

void ButtonStrip::invalidateAt(int index) {
    // An entry the strip leaves out (another bar's window) has nothing here to draw again, whether or not
    // the strip has laid out since it came.
    const BrowserWindowList& list = model_.list();
    if (list.validIndex(index) && !shows(list.entries[static_cast<std::size_t>(index)])) return;
    const RECT r = buttonRect(index);
    // A button not laid out yet has no place: the whole strip is due anyway.
    if (r.bottom <= r.top) {
        InvalidateRect(window_, nullptr, TRUE);
        return;
    }
    // Its painted extent, not its rectangle: a narrow button's glyph sticks out, an inverted one has no area.
    RECT extent = toRect(core::paintedExtent(toCore(r), dpi_));
    InvalidateRect(window_, &extent, TRUE);
}

RECT ButtonStrip::buttonRect(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= places_.entries.size()) return {0, 0, 0, 0};
    return places_.entries[static_cast<std::size_t>(index)].buttonRect;
}

std::vector<core::Span> ButtonStrip::spans() const {
    std::vector<core::Span> out;
    out.reserve(places_.entries.size());
    for (const Places& p : places_.entries)
        out.push_back({p.buttonRect.left, p.buttonRect.right});
    return out;
}

void ButtonStrip::showDrag(int from, int to) {
    if (from == drag_.from && to == drag_.to) return;
    drag_ = {from, to};
    InvalidateRect(window_, nullptr, TRUE);
}

void ButtonStrip::setFocusMark(int index) {
    const int before = focusMark();
    const BrowserWindowList& list = model_.list();
    focus_ = list.validIndex(index) ? FocusMark{list.entries[static_cast<std::size_t>(index)].window, index}
                                    : FocusMark{};
    // Only the two buttons whose face changes; a place without a button would repaint the whole strip.
    if (before == index) return;
    if (before >= 0) invalidateAt(before);
    if (index >= 0) invalidateAt(index);
}

int ButtonStrip::focusMark() const {
    const BrowserWindowList& list = model_.list();
    if (!focus_.window) return -1;
    // A window listed twice keeps the mark on the entry it was given to.
    if (list.validIndex(focus_.index) &&
        list.entries[static_cast<std::size_t>(focus_.index)].window == focus_.window)
        return focus_.index;
    return list.find(focus_.window);
}

void ButtonStrip::drawFocusMark(const Canvas& canvas, const RECT& r) const {
    canvas.flush();
    RECT mark = r;
    const int inset = core::scaleForDpi(3, dpi_);
    InflateRect(&mark, -inset, -inset);
    if (mark.right > mark.left && mark.bottom > mark.top) DrawFocusRect(canvas.dc, &mark);
}

void ButtonStrip::orderChanged() {
    places_.entries.assign(static_cast<std::size_t>(model_.list().count()), Places{});
    // The mark follows its window to its new place.
    if (focus_.window) focus_.index = model_.list().find(focus_.window);
    InvalidateRect(window_, nullptr, TRUE);
}

void ButtonStrip::entryAdded(int index, HWND window) {
    if (static_cast<std::size_t>(index) <= places_.entries.size())
        places_.entries.insert(places_.entries.begin() + index, Places{});
    if (focus_.window && index <= focus_.index) ++focus_.index;
    addTool(window);
    repaintUnlessElsewhere(model_.list().validIndex(index) &&
                           !shows(model_.list().entries[static_cast<std::size_t>(index)]));
}

void ButtonStrip::repaintUnlessElsewhere(bool elsewhere) {
    // A window of another bar's monitor moves no button here: the next layout counts it, nothing is
    // painted for it.
    if (elsewhere) {
        slotsStale_ = true;
        return;
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void ButtonStrip::entryRemoving(int index, HWND window) {
    deleteTool(window);
    passFocusMark(index);
    // The places behind close the gap with their entries: a click before the next paint meets the button
    // drawn there.
    const auto at = static_cast<std::size_t>(index);
    const bool elsewhere = at < places_.entries.size() && !places_.entries[at].shown &&
                           model_.list().validIndex(index) && !shows(model_.list().entries[at]);
    if (at < places_.entries.size()) places_.entries.erase(places_.entries.begin() + index);
    repaintUnlessElsewhere(elsewhere);
}

void ButtonStrip::passFocusMark(int removing) {
    const int marked = focusMark();
    if (marked < 0) return;
    if (removing < marked) {
        focus_.index = marked - 1;
        return;
    }
    if (removing != marked) return;
    // Announced before the entry goes: the neighbour that takes the mark is read now, its index as after.
    const BrowserWindowList& list = model_.list();
    const int next = marked + 1 < list.count() ? marked + 1 : marked - 1;
    focus_ = next >= 0
                 ? FocusMark{list.entries[static_cast<std::size_t>(next)].window, std::min(next, marked)}
                 : FocusMark{};
}

LRESULT ButtonStrip::workCount(WPARAM which) const {
    switch (static_cast<BarWork>(which)) {
    case BarWork::ToolTipMessages:
        return static_cast<LRESULT>(work_.toolTipMessages);
    case BarWork::ButtonsPainted:
        return static_cast<LRESULT>(work_.buttonsPainted);
    case BarWork::EntriesVisited:
        return static_cast<LRESULT>(model_.list().visits());
    case BarWork::PaintMicroseconds:
        return static_cast<LRESULT>(work_.paintMicroseconds);
    }
    return -1;
}

void ButtonStrip::paintButton(const Canvas& canvas, const core::PartColours& colours,
                              const BrowserEntry& entry, const RECT& r) {
    ++work_.buttonsPainted;
    HDC dc = canvas.dc;
    // The previous button's text and glyph went through the system, its fills will not.
    canvas.flush();
    const core::Settings& s = settings();
    bool active = entry.window == model_.active();
    COLORREF highlight = colours[core::Part::EdgeLight];
    COLORREF shadow = colours[core::Part::EdgeShadow];
    if (active) {
        fillSolid(canvas, r, colours[core::Part::ActiveFace]);
        draw3dRect(canvas, r, shadow, highlight);
        SetTextColor(dc, colours[core::Part::ActiveText]);
    } else {
        // The active window is the one the user looks at: only an inactive one can still call.
        const bool calling = entry.attention;
        fillSolid(canvas, r, colours[calling ? core::Part::AttentionFace : core::Part::BarFace]);
        draw3dRect(canvas, r, highlight, shadow);
        SetTextColor(dc, colours[calling ? core::Part::AttentionText : core::Part::ButtonText]);
    }
    const bool withIcon = s.showWindowIcons && entry.icon.shown;
    const core::Rect icon = core::iconRect(toCore(r), dpi_);
    if (withIcon && !icon.empty())
        DrawIconEx(dc, icon.left, icon.top, entry.icon.shown, icon.width(), icon.height(), 0, nullptr,
                   DI_NORMAL);
    RECT text = toRect(core::textRect(toCore(r), dpi_, withIcon));
    // The title is clipped to its rectangle: an empty or inverted one shows none of it, and skipping the
    // text measuring there keeps a strip of a few hundred narrow buttons cheap to repaint.
    if (text.right > text.left) {
        const std::wstring title = win::widen(entry.title);
        DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (core::glyphShown(s.showCloseGlyph, s.closeGlyphOnActiveOnly, active)) {
        core::Point at = core::glyphOrigin(toCore(r), dpi_);
        const int side = core::glyphSize(dpi_);
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(closeGlyphIcon_.get()), 0, at.x, at.y, side,
                   side, DST_ICON);
    }
}

int ButtonStrip::hit(POINT p) const {
    return core::hitButton(places_, core::Point{p.x, p.y});
}

core::LeftPress ButtonStrip::leftPressAt(int index, POINT p, bool shift) const {
    const core::Settings& s = settings();
    const BrowserWindowList& list = model_.list();
    core::Point at{p.x, p.y};
    core::LeftPress press;
    press.hit = list.validIndex(index);
    press.shift = shift;
    press.minimizeOnSecondClick = s.minimizeOnSecondClick;
    if (press.hit) {
        const BrowserEntry& entry = list.entries[static_cast<std::size_t>(index)];
        press.isActive = entry.window == model_.active();
        press.iconic = IsIconic(entry.window) != 0;
        bool shown = core::glyphShown(s.showCloseGlyph, s.closeGlyphOnActiveOnly, press.isActive);
        press.onGlyph = core::onCloseGlyph(buttonRect(index), at, shown, dpi_);
    }
    return press;
}

} // namespace app
