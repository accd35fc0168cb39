// The bar's system-wide hot keys (hide/restore, new browser window, the bar to the keyboard), registered
// on the bar window.
#pragma once
#include <windows.h>

#include "core/settings.h"

namespace app {

class HotKeys {
  public:
    void attach(HWND bar) noexcept { bar_ = bar; }
    // Registers the combinations the settings hold. One that someone else holds stays without function.
    void registerFromSettings(const core::Settings& s);
    void set(int id, UINT modifiers, UINT virtualKey);
    void remove(int id);
    // Unregisters them all. Safe inside an exception filter on any thread (where it fails harmlessly: hot
    // keys belong to the bar's thread): no allocation, and a second call does nothing.
    void release() noexcept;

  private:
    HWND bar_ = nullptr;
    volatile LONG held_ = 0;
};

} // namespace app
