// A small picture push button: one strip bitmap with three frames (normal, pressed, hover), a tool tip of
// its own, and, where the owner asks for it, a hold timer that reaches the parent as WM_TIMER while the
// left button is still down.
//
// Owners call, in this order: Create, (m_bMenuOnHold = TRUE), SetStripBitmap, SetToolTipText. The parent,
// a window or dialog of the layer, hands queued messages to PreTranslateMessage(); its WM_DRAWITEM for the
// button reaches the button by reflection.
#pragma once
#include <windows.h>

#include <string>

#include "core/settings.h"
#include "win/handle.h"
#include "win/window.h"

namespace controls {

class CHoverButton : public win::Window {
  public:
    static constexpr UINT_PTR HOLD_TIMER_ID = 32769;
    static constexpr UINT kHoldPeriodMs = 200;
    static constexpr COLORREF kToolTipColour = static_cast<COLORREF>(core::kActiveButtonDefault);
    // In 96-DPI units, scaled to the DPI of the window the tip belongs to.
    static constexpr int kToolTipMaxWidth = 400;
    static constexpr RECT kToolTipMargins{4, 2, 4, 2};
    static constexpr UINT_PTR kToolId = 1;

    CHoverButton() = default;
    ~CHoverButton() override;

    // Makes a "BUTTON" child with the given style (owners pass WS_CHILD | WS_VISIBLE | BS_OWNERDRAW) and
    // binds it. The caption is the window text and is never drawn.
    bool Create(const char* caption, DWORD style, const RECT& rect, HWND parent, int id);

    // Loads the strip from the program's own resources and sizes the button to one frame, in place.
    // False when the bitmap cannot be loaded; the button then keeps its size and draws a plain face.
    BOOL SetStripBitmap(WORD resourceId);
    // Sets the one tool's text (a null text changes nothing) and activates or deactivates the tool tip.
    void SetToolTipText(const char* text, BOOL activate);
    // The tip's colours, for the tip shown now and any made later; CLR_INVALID text keeps the system's.
    void setToolTipColours(COLORREF face, COLORREF text);
    // Draws the current frame; nothing else.
    void DrawItem(const DRAWITEMSTRUCT& item);
    // Relays a queued message to the tool tip so it can time its display. Never swallows the message.
    BOOL PreTranslateMessage(const MSG& msg);

    // The tip's window is made when the first pointer message is handed to PreTranslateMessage.
    HWND toolTipWindow() const noexcept { return m_toolTip; }
    const std::string& toolTipText() const noexcept { return tipText_; }
    int frameWidth() const noexcept { return m_nFrameWidth; }
    int frameHeight() const noexcept { return m_nFrameHeight; }
    bool hovering() const noexcept { return m_bHover != FALSE; }
    // The keyboard's mark, set by the owner that holds the keyboard for it: the button itself never takes
    // the focus, so that a click leaves the window that had it alone.
    void setFocusMark(bool shown);
    bool focusMarked() const noexcept { return focusMark_; }

    BOOL m_bMenuOnHold = FALSE;

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool reflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void EnsureToolTip();
    void applyToolTipText();
    void applyToolTipColours();
    LRESULT onMouseMove(WPARAM wParam, LPARAM lParam);
    bool trackingHeld() const;
    LRESULT onMouseHover();
    LRESULT onMouseLeave();
    LRESULT onLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT onLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT onTimer(WPARAM wParam, LPARAM lParam);
    void drawPlainFace(const DRAWITEMSTRUCT& item) const;

    BOOL m_bHover = FALSE;
    int m_nFrameWidth = 0;
    int m_nFrameHeight = 0;
    win::Bitmap m_bitmapStrip;
    BOOL m_bTracking = FALSE;
    HWND m_toolTip = nullptr;
    std::string tipText_;
    bool tipActive_ = false;
    bool hasTip_ = false;
    COLORREF tipFace_ = kToolTipColour;
    COLORREF tipTextColour_ = CLR_INVALID;
    bool focusMark_ = false;
};

} // namespace controls
