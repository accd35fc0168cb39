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
