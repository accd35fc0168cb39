// Placeholders for the tray side of the bar (hiding into the tray, restoring from it, the bar's menu) until it
// lands; the file that implements those operations replaces this one.
#include "app/bar_window.h"

namespace app {

void BarWindow::hideToTray() {}
void BarWindow::restoreFromTray() {}
void BarWindow::showBarMenu(POINT) {}

} // namespace app
