#include "hooks/shell/shell_hook.h"

#include "hooks/shell/cvsh.h"

namespace cvsh {

// Initialised, or the linker would move it out of the shared section.
SharedState shared __attribute__((section("SHARED"), shared)) = {nullptr, nullptr};

bool forwards(int code, WPARAM window) noexcept {
    if (window == 0) return false;
    // Exact values: of the codes with the high bit set only flashing is one the bar follows.
    return code == kWindowCreated || code == kWindowDestroyed || code == kWindowActivated ||
           code == kWindowRetitled || code == kWindowFlashed;
}

LRESULT CALLBACK hookProcedure(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code < 0) return CallNextHookEx(shared.hook, code, wParam, lParam);
    HWND target = shared.target;
    // Posted, not sent: the program whose window changed pays only for the delivery, and a bar that is
    // stopped or busy holds nobody. Posted messages keep their order, and the bar reads a destroyed window
    // by its handle only, since it is gone by the time the message arrives.
    // Through this hook the system reports a flashing window as a redraw whose lParam is true; a shell hook
    // window hears the flash code itself. Both reach the bar as the flash code.
    const LPARAM reported = code == kWindowRetitled && lParam ? kWindowFlashed : code;
    if (forwards(code, wParam) && IsWindow(target))
        PostMessageA(target, kShellEventMessage, wParam, reported);
    return CallNextHookEx(shared.hook, code, wParam, lParam);
}

} // namespace cvsh

extern "C" int SetShellHook(HWND target) {
    cvsh::shared.target = target;
    // Found by name: a copy of the library under another name cannot install the hook.
    HMODULE self = GetModuleHandleA("cvsh.dll");
    cvsh::shared.hook = SetWindowsHookExA(WH_SHELL, cvsh::hookProcedure, self, 0);
    if (!cvsh::shared.hook) {
        MessageBoxA(nullptr, "Can't set shell hook !", "cvsh.dll : error !", MB_ICONEXCLAMATION);
        return 0;
    }
    return 1;
}

extern "C" int RemoveShellHook() {
    HHOOK hook = cvsh::shared.hook;
    if (!hook) return 0;
    BOOL removed = UnhookWindowsHookEx(hook);
    cvsh::shared.hook = nullptr;
    return removed;
}
