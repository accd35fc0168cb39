#include "app/move_watch.h"

#include "app/bar_ids.h"

namespace app {

namespace {
// Out-of-context events are delivered on the thread that set the hook, the bar's: one bar a process.
HWND g_target = nullptr;

void CALLBACK windowMoved(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    // The window itself, not one of its parts.
    if (window && object == OBJID_WINDOW && child == CHILDID_SELF && g_target)
        PostMessageA(g_target, WM_BAR_WINDOWMOVED, reinterpret_cast<WPARAM>(window), 0);
}

HWINEVENTHOOK hookOne(DWORD event) {
    return SetWinEventHook(event, event, nullptr, windowMoved, 0, 0,
                           WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
}
} // namespace

bool MoveWatch::start(HWND bar) {
    stop();
    g_target = bar;
    moveSizeEnd_ = hookOne(EVENT_SYSTEM_MOVESIZEEND);
    minimizeEnd_ = hookOne(EVENT_SYSTEM_MINIMIZEEND);
    return moveSizeEnd_ && minimizeEnd_;
}

void MoveWatch::stop() noexcept {
    if (moveSizeEnd_) UnhookWinEvent(moveSizeEnd_);
    if (minimizeEnd_) UnhookWinEvent(minimizeEnd_);
    moveSizeEnd_ = minimizeEnd_ = nullptr;
    g_target = nullptr;
}

} // namespace app
