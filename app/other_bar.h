// A bar on a monitor beside the main bar's: a docked appbar of its own with its own strip of browser buttons
// over the main bar's tracker. It holds nothing else (no tray icon, hot keys, menu or tracking): presses on
// its buttons are the main bar's to carry out. The object owns itself and is deleted after its window is
// gone; the main bar closes it.
#pragma once
#include <windows.h>

#include "app/appbar.h"
#include "app/bar_accessibility.h"
#include "app/button_strip.h"
#include "win/window.h"

namespace app {

class BarWindow;

class OtherBar final : public win::Window {
  public:
    // appBar: the registration record the main bar keeps for this bar (given back by a crash too).
    OtherBar(BarWindow& main, BrowserTracker& model, AppBar& appBar)
        : main_(main), model_(model), appBar_(appBar), strip_(model), accessibility_(main, model, strip_) {}

    // Creates the hidden bar for the monitor; it docks when shown.
    bool create(HMONITOR monitor, const RECT& monitorRect);
    void show();
    void hide();
    // Negotiates the strip again (a new height, a new taskbar).
    void position();
    void setMonitorFilter(ButtonStrip::MonitorFilter filter);
    // The settings that decide which windows have a button changed.
    void filterChanged();
    void relayToToolTips(const MSG& msg) { strip_.relayToToolTips(msg); }
    const ButtonStrip& strip() const noexcept { return strip_; }

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onFinalMessage() override { delete this; }

  private:
    LRESULT onCreate(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onAppBarNotify(WPARAM code, LPARAM param);
    // Its monitor's DPI, read again when the system says it changed: the height, the strip and the strip
    // the shell reserves follow it.
    LRESULT onDpiChanged();
    LRESULT onGetObject(UINT msg, WPARAM wParam, LPARAM lParam);

    BarWindow& main_;
    BrowserTracker& model_;
    AppBar& appBar_;
    ButtonStrip strip_;
    // What a screen reader sees of this bar: its own strip's buttons, with its events raised on its window.
    BarAccessibility accessibility_;
    int dpi_ = 96;
};

} // namespace app
