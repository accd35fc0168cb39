#include "app/app.h"

#include "win/text.h"

namespace app {

void showAppMessage(HWND owner, const std::string& text) {
    MessageBoxW(owner, win::widen(text).c_str(), win::widen(kAppName).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace app
