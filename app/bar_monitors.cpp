// A bar on every monitor the settings name: the main bar docks on the first of them (the primary monitor,
// or the chosen one), a bar of its own on each other. The main bar registers with the shell first: a shell
// that cuts a newcomer's strip by every earlier bar on its edge, whatever the monitor (Wine's does), then
// leaves the main bar where it belongs. Which strip shows a window follows the window's
// monitor (core/monitor_bars.h).
#include "app/app.h"
#include "app/bar_window.h"
#include "win/monitors.h"

namespace app {

void BarWindow::makeBars(bool shown) {
    closeOtherBars();
    const std::vector<win::Monitor> monitors = win::displayMonitors();
    std::vector<core::MonitorInfo> infos;
    for (const win::Monitor& m : monitors)
        infos.push_back(m.info);
    std::vector<int> bars = core::barsToMake(infos, settings().barsOn, settings().barMonitor);
    if (bars.size() > 1 + ShellRegistrations::kMaxOtherBars)
        bars.resize(1 + ShellRegistrations::kMaxOtherBars);
    std::vector<HMONITOR> withBars;
    for (int i : bars)
        withBars.push_back(monitors[static_cast<std::size_t>(i)].handle);
    // Without a monitor listed the main bar takes the primary screen, and shows every window.
    ButtonStrip::MonitorFilter filter{settings().buttonsOnWindowMonitor && bars.size() > 1, nullptr, true,
                                      withBars};
    if (!bars.empty()) {
        const win::Monitor& first = monitors[static_cast<std::size_t>(bars.front())];
        shell_.appBar.setMonitor(first.handle, win::toRect(first.info.rect));
        filter.own = first.handle;
    }
    strip_.setMonitorFilter(filter);
    accessibility_.filterChanged();
    // The handles of the monitors may be new: every window's monitor is looked at again before the strips
    // are laid out.
    tracker_.followMonitors(filter.byMonitor, monitors);
    tracker_.recheckMonitor(nullptr);
    filter.main = false;
    for (std::size_t k = 1; k < bars.size(); ++k) {
        const win::Monitor& m = monitors[static_cast<std::size_t>(bars[k])];
        auto* bar = new OtherBar(*this, tracker_, shell_.otherBars[k - 1]);
        // A bar that could not be made has been released by its final message.
        if (!bar->create(m.handle, win::toRect(m.info.rect))) continue;
        filter.own = m.handle;
        bar->setMonitorFilter(filter);
        otherBars_.push_back(bar);
        if (shown) bar->show();
    }
}

void BarWindow::remakeBars() {
    makeBars(IsWindowVisible(hwnd()) != 0);
    if (IsWindowVisible(hwnd())) positionBar();
}

void BarWindow::closeOtherBars() {
    // Each gives its strip back as its window goes.
    for (OtherBar* bar : otherBars_)
        DestroyWindow(bar->hwnd());
    otherBars_.clear();
}

void BarWindow::repaintBars() {
    InvalidateRect(hwnd(), nullptr, TRUE);
    for (OtherBar* bar : otherBars_)
        InvalidateRect(bar->hwnd(), nullptr, TRUE);
}

void BarWindow::showOtherBars(bool shown) {
    for (OtherBar* bar : otherBars_)
        shown ? bar->show() : bar->hide();
}

} // namespace app
