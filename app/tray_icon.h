// The bar's icon in the notification area, shown while the bar is hidden.
#pragma once
#include <windows.h>

#include <shellapi.h>

namespace app {

class TrayIcon {
  public:
    void attach(HWND bar) noexcept { bar_ = bar; }
    // Adds the icon; asked again (a restarted shell lost it), the shell is asked again.
    void add(HICON icon);
    // Gives a shown icon the tip of the interface language now chosen.
    void retitle();
    // Takes the icon away. Safe inside an exception filter on any thread: no allocation, and a second call
    // (or one without an icon) does nothing.
    void release() noexcept;

  private:
    static void setTip(NOTIFYICONDATAW& nid);

    HWND bar_ = nullptr;
    volatile LONG added_ = 0;
};

} // namespace app
