// A bar on a monitor beside the main bar's: a docked appbar of its own with its own strip of browser buttons
// over the main bar's tracker. It holds nothing else (no tray icon, hot keys, menu or tracking): presses on
// its buttons are the main bar's to carry out. The object owns itself and is deleted after its window is
// gone; the main bar closes it.
#pragma once
#include <windows.h>

#include "app/appbar.h"
#include "app/button_strip.h"
#include "win/window.h"

namespace app {

class BarWindow;

class OtherBar final : public win::Window {
  public:
    // appBar: the registration record the main bar keeps for this bar (given back by a crash too).
    OtherBar(BarWindow& main, BrowserTracker& model, AppBar& appBar)
        : main_(main), model_(model), appBar_(appBar), strip_(model) {}

    // Creates the hidden bar for the monitor; it docks when shown.
    bool create(HMONITOR monitor, const RECT& monitorRect);
    void show();
    void hide();
    // Negotiates the strip again (a new height, a new taskbar).
    void position();
    void setMonitorFilter(ButtonStrip::MonitorFilter filter) { strip_.setMonitorFilter(std::move(filter)); }
    void relayToToolTips(const MSG& msg) { strip_.relayToToolTips(msg); }
    const ButtonStrip& strip() const noexcept { return strip_; }

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onFinalMessage() override { delete this; }

  private:
    LRESULT onAppBarNotify(WPARAM code, LPARAM param);

    BarWindow& main_;
    BrowserTracker& model_;
    AppBar& appBar_;
    ButtonStrip strip_;
};

} // namespace app
