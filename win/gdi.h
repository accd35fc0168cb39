// Scoped pairings of device contexts: every BeginPaint has its EndPaint, every GetDC its ReleaseDC, every
// memory DC its DeleteDC, whichever way the scope is left. Selections use SelectObjectScope (win/handle.h).
#pragma once
#include <windows.h>

#include "win/handle.h"

namespace win {

// A memory DC, owned: CreateCompatibleDC's result.
using MemoryDc = Handle<WinapiTraits<HDC, DeleteDC>>;

// The DC of a WM_PAINT: validates the update region when the scope ends.
class PaintScope {
  public:
    explicit PaintScope(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &ps_)) {}
    ~PaintScope() {
        if (dc_) EndPaint(window_, &ps_);
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const noexcept { return dc_; }
    operator HDC() const noexcept { return dc_; }
    const RECT& area() const noexcept { return ps_.rcPaint; }
    const PAINTSTRUCT& paint() const noexcept { return ps_; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// WM_PAINT for a window that draws its whole update region itself, without BeginPaint: the region is read
// and validated and a DC clipped to it is taken. Under Wine BeginPaint asks the server five times (the caret
// hidden and shown, the update region, the visible region), this two or three times; the result is the same
// for a window with no frame, no caret and no erase of its own.
class UpdateScope {
  public:
    explicit UpdateScope(HWND window) noexcept : window_(window), region_(CreateRectRgn(0, 0, 0, 0)) {
        const int kind = region_ ? GetUpdateRgn(window, region_.get(), FALSE) : ERROR;
        if (kind == NULLREGION || kind == ERROR) {
            // A paint with nothing to draw (an internal paint) must still end, or the system asks again.
            RedrawWindow(window, nullptr, nullptr, RDW_VALIDATE | RDW_NOINTERNALPAINT);
            return;
        }
        // Only what was read: what the system adds meanwhile stays due.
        RedrawWindow(window, nullptr, region_.get(), RDW_VALIDATE | RDW_NOINTERNALPAINT);
        GetRgnBox(region_.get(), &area_);
        // Clipped as BeginPaint clips, by the window's own style.
        const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
        const DWORD clip = ((style & WS_CLIPCHILDREN) ? DCX_CLIPCHILDREN : 0) |
                           ((style & WS_CLIPSIBLINGS) ? DCX_CLIPSIBLINGS : 0);
        dc_ = GetDCEx(window, nullptr, DCX_CACHE | clip);
        if (dc_) SelectClipRgn(dc_, region_.get());
    }
    ~UpdateScope() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;
    HDC dc() const noexcept { return dc_; }
    const RECT& area() const noexcept { return area_; }
    // In client coordinates; null when there is nothing to draw.
    HRGN region() const noexcept { return dc_ ? region_.get() : nullptr; }

  private:
    HWND window_;
    Region region_;
    HDC dc_ = nullptr;
    RECT area_{};
};

// A window's (or, for a null window, the screen's) DC outside WM_PAINT.
class WindowDc {
  public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC dc() const noexcept { return dc_; }
    operator HDC() const noexcept { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Text drawn in a colour of its own over whatever lies beneath, the DC's settings put back afterwards. The
// colour may be changed again inside the scope.
class TextScope {
  public:
    TextScope(HDC dc, COLORREF colour, int backgroundMode = TRANSPARENT) noexcept
        : dc_(dc), oldColour_(SetTextColor(dc, colour)), oldMode_(SetBkMode(dc, backgroundMode)) {}
    ~TextScope() {
        if (oldMode_) SetBkMode(dc_, oldMode_);
        if (oldColour_ != CLR_INVALID) SetTextColor(dc_, oldColour_);
    }
    TextScope(const TextScope&) = delete;
    TextScope& operator=(const TextScope&) = delete;

  private:
    HDC dc_;
    COLORREF oldColour_;
    int oldMode_;
};

// A logical palette selected into a DC for the scope; a null palette selects nothing.
class PaletteScope {
  public:
    PaletteScope(HDC dc, HPALETTE palette) noexcept
        : dc_(dc), old_(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {}
    ~PaletteScope() {
        if (old_) SelectPalette(dc_, old_, FALSE);
    }
    PaletteScope(const PaletteScope&) = delete;
    PaletteScope& operator=(const PaletteScope&) = delete;

  private:
    HDC dc_;
    HPALETTE old_;
};

} // namespace win
