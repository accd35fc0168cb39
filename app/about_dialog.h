// The About box: the program's name, version and three lines about its maker; "Ok" closes it.
#pragma once
#include "win/dialog.h"

namespace app {

class AboutDialog : public win::Dialog {
protected:
    INT_PTR dialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

} // namespace app
