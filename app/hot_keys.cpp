#include "app/hot_keys.h"

#include "app/bar_ids.h"
#include "core/preference_rules.h"

namespace app {

void HotKeys::registerFromSettings(const core::Settings& s) {
    if (s.hotKeyHide)
        set(HOTKEY_ID_HIDE, core::hotKeyModifiers(s.hotKeyHide), core::hotKeyVirtualKey(s.hotKeyHide));
    if (s.hotKeyNew)
        set(HOTKEY_ID_NEW, core::hotKeyModifiers(s.hotKeyNew), core::hotKeyVirtualKey(s.hotKeyNew));
    if (s.hotKeyFocus)
        set(HOTKEY_ID_FOCUS, core::hotKeyModifiers(s.hotKeyFocus), core::hotKeyVirtualKey(s.hotKeyFocus));
}

void HotKeys::set(int id, UINT modifiers, UINT virtualKey) {
    InterlockedExchange(&held_, 1);
    RegisterHotKey(bar_, id, modifiers, virtualKey);
}

void HotKeys::remove(int id) {
    UnregisterHotKey(bar_, id);
}

void HotKeys::release() noexcept {
    if (InterlockedExchange(&held_, 0) == 0) return;
    UnregisterHotKey(bar_, HOTKEY_ID_HIDE);
    UnregisterHotKey(bar_, HOTKEY_ID_NEW);
    UnregisterHotKey(bar_, HOTKEY_ID_FOCUS);
}

} // namespace app
