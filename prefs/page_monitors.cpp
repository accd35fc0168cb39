// The Advanced page's list of where the bars dock: the primary monitor, every monitor, or one of the
// monitors there now (and the chosen one while it is not connected), each by its device name and size.
#include <windows.h>

#include <string>

#include "prefs/preferences_page.h"
#include "resources/resource.h"
#include "win/monitors.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace prefs {

namespace {
constexpr int kFirstMonitorEntry = 2;
} // namespace

void PreferencesPage::initBarsOn() {
    HWND list = item(IDC_PREFS_BARS_ON);
    if (!list) return;
    const core::Settings& s = host_.settings();
    const std::wstring only = win::uiWideText(host_.instance(), IDS_BARS_ON_ONE);
    for (UINT id : {IDS_BARS_ON_PRIMARY, IDS_BARS_ON_EVERY})
        SendMessageW(list, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(win::uiWideText(host_.instance(), id).c_str()));
    monitorChoices_.clear();
    bool chosenThere = false;
    for (const win::Monitor& m : win::displayMonitors()) {
        const core::Rect& r = m.info.rect;
        const std::wstring text = only + L" " + win::widen(m.info.device) + L" (" +
                                  std::to_wstring(r.width()) + L" x " + std::to_wstring(r.height()) + L")";
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        monitorChoices_.push_back(m.info.device);
        chosenThere = chosenThere || m.info.device == s.barMonitor;
    }
    // A chosen monitor that is not connected stays chosen; the bar waits on the primary one meanwhile.
    if (!chosenThere && !s.barMonitor.empty()) {
        const std::wstring text = only + L" " + win::widen(s.barMonitor);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        monitorChoices_.push_back(s.barMonitor);
    }
    int selected = s.barsOn == core::kBarsOnPrimary ? 0 : 1;
    for (std::size_t i = 0; s.barsOn == core::kBarsOnChosen && i < monitorChoices_.size(); ++i)
        if (monitorChoices_[i] == s.barMonitor) selected = kFirstMonitorEntry + static_cast<int>(i);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void PreferencesPage::onBarsOnChosen() {
    const LRESULT chosen = SendMessageW(item(IDC_PREFS_BARS_ON), CB_GETCURSEL, 0, 0);
    if (chosen < 0 || chosen >= kFirstMonitorEntry + static_cast<LRESULT>(monitorChoices_.size())) return;
    if (chosen < kFirstMonitorEntry) {
        host_.change(&core::Settings::barsOn, chosen == 0 ? core::kBarsOnPrimary : core::kBarsOnEvery);
    } else {
        host_.change(&core::Settings::barMonitor,
                     monitorChoices_[static_cast<std::size_t>(chosen - kFirstMonitorEntry)]);
        host_.change(&core::Settings::barsOn, core::kBarsOnChosen);
    }
    host_.barsChanged();
}

} // namespace prefs
