#include "app/about_dialog.h"

namespace app {

bool AboutDialog::onCommand(UINT, int id, HWND) {
    // "Ok", Enter, Escape and the close box all end the box.
    if (id != IDOK && id != IDCANCEL) return false;
    EndDialog(hwnd(), id);
    return true;
}

} // namespace app
