// The About box: the program's name, version and three lines about its maker; "Ok" closes it.
#pragma once
#include "win/dialog.h"

namespace app {

class AboutDialog : public win::Dialog {
  protected:
    bool onCommand(UINT code, int id, HWND control) override;
};

} // namespace app
