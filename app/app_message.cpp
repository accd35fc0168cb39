#include "app/app.h"

namespace app {

void showAppMessage(HWND owner, const char* text) {
    MessageBoxA(owner, text, kAppName, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace app
