#include "hooks/taskbar/taskbar_hook.h"

#include <commctrl.h>

#include "core/browser_classes.h"
#include "hooks/taskbar/tab_control.h"
#include "win/handle.h"

namespace cvth {

// Initialised, or the linker would move it out of the shared section.
SharedState shared __attribute__((section("SHARED"), shared)) = {nullptr, 0, nullptr, 0};

namespace {

// Per process, not shared: the hook this process installed. Only that process may take it away again, so
// that a program that merely loads the library and ends (a second copy of the bar) leaves the hook alone.
HHOOK installedHere = nullptr;

// The pass asks the tab control for its item count, which is the trigger message itself.
volatile LONG passRunning = 0;

constexpr const char* kCaption = "cvth.dll : error !";

int fail(const char* text) {
    MessageBoxA(nullptr, text, kCaption, MB_ICONEXCLAMATION);
    return 0;
}

void releaseOwnHook() {
    if (shared.hook && shared.hook == installedHere) {
        UnhookWindowsHookEx(shared.hook);
        shared.hook = nullptr;
    }
    installedHere = nullptr;
}

// Room behind the item for a tab control that keeps more than one word of data per item.
struct ItemBuffer {
    TCITEMA item;
    BYTE extra[64];
};

} // namespace

bool removesClass(const char* className, bool catchExplorer) noexcept {
    return core::isClassicTrackedClass(className, catchExplorer);
}

void removalPass() noexcept {
    if (InterlockedExchange(&passRunning, 1) != 0) return;
    HWND tab = shared.tabControl;
    LRESULT count = SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0);
    // Last to first: deleting item i leaves the indices still to be visited unchanged.
    for (LRESULT i = count - 1; i >= 0; --i) {
        ItemBuffer buffer{};
        buffer.item.mask = TCIF_PARAM;
        if (!SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&buffer.item)))
            continue;
        char className[255] = {};
        if (!GetClassNameA(reinterpret_cast<HWND>(buffer.item.lParam), className, sizeof(className)))
            continue;
        if (removesClass(className, shared.catchExplorer != 0))
            SendMessageA(tab, TCM_DELETEITEM, static_cast<WPARAM>(i), 0);
    }
    InterlockedExchange(&passRunning, 0);
}

void noteSystemFamily() noexcept {
    if ((GetVersion() & 0x80000000u) == 0) shared.ntFamily = 1;
}

void onProcessAttach() noexcept {
    HWND tab = shared.tabControl;
    // Only in the taskbar's thread, where the hook has just brought the library in.
    if (!IsWindow(tab) || GetWindowThreadProcessId(tab, nullptr) != GetCurrentThreadId()) return;
    win::KernelHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, kEventName));
    removalPass();
    if (event) SetEvent(event.get());
}

void onProcessDetach() noexcept {
    releaseOwnHook();
}

LRESULT CALLBACK hookProcedure(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code < 0) return CallNextHookEx(shared.hook, code, wParam, lParam);
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    // The taskbar asks for the count (or, before the NT family, the item rectangles) when it lays out.
    UINT trigger = shared.ntFamily ? TCM_GETITEMCOUNT : TCM_GETITEMRECT;
    if (call && call->message == trigger) removalPass();
    return CallNextHookEx(shared.hook, code, wParam, lParam);
}

} // namespace cvth

using namespace cvth;

extern "C" int SetTaskbarHook(int catchExplorer) {
    shared.catchExplorer = catchExplorer;
    shared.tabControl = FindTaskbarTabControl();
    if (!shared.tabControl) return fail("Can't locate the taskbar!");
    win::KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, kEventName));
    DWORD thread = GetWindowThreadProcessId(shared.tabControl, nullptr);
    // A repeated call (the taskbar was re-created) replaces the hook instead of stacking a second one.
    releaseOwnHook();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, hookProcedure, GetModuleHandleA("cvth.dll"), thread);
    shared.hook = hook;
    installedHere = hook;
    if (!hook) return fail("Can't set taskbar hook!");
    // Loose: the taskbar's side may still be busy with its first pass, and that is fine.
    WaitForSingleObject(event.get(), 10);
    PostThreadMessageA(thread, WM_NULL, 0, 0);
    return 1;
}

extern "C" void RemoveTaskbarHook() {
    releaseOwnHook();
}
