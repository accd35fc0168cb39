#include "app/taskbar_list.h"

#include <shobjidl.h>

#include <algorithm>
#include <vector>

namespace app {

namespace {
// One bar per process, on one thread: this state is that bar's.
ITaskbarList* g_list = nullptr;
bool g_comStarted = false;
// Made once per shell, when the first button is to be taken off.
bool g_listTried = false;
DWORD g_barThread = 0;
std::vector<HWND> g_takenOff;

ITaskbarList* makeList() {
    void* object = nullptr;
    // __uuidof, not the import library's ids: those come in one object with two thousand others (35 KB).
    if (FAILED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskbarList),
                                &object)))
        return nullptr;
    auto* list = static_cast<ITaskbarList*>(object);
    if (FAILED(list->HrInit())) {
        list->Release();
        return nullptr;
    }
    return list;
}

void releaseList() {
    if (g_list) g_list->Release();
    g_list = nullptr;
}

// Making the object costs the bar's start-up a few milliseconds, and with a taskbar of tab controls most
// sessions never need it: it is made when a button is first to be taken off.
ITaskbarList* list() {
    if (g_list || g_listTried) return g_list;
    g_listTried = true;
    g_list = makeList();
    return g_list;
}

bool remembered(HWND window) {
    return std::find(g_takenOff.begin(), g_takenOff.end(), window) != g_takenOff.end();
}
} // namespace

void startTaskbarList() {
    g_barThread = GetCurrentThreadId();
    // Also for the shell's own calls on this thread (opening a browser, an address).
    if (!g_comStarted) g_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

void endTaskbarList() {
    giveAllButtonsBack();
    releaseList();
    g_listTried = false;
    if (g_comStarted) CoUninitialize();
    g_comStarted = false;
}

void takeButtonOff(HWND window) {
    if (!IsWindow(window) || !list()) return;
    if (SUCCEEDED(g_list->DeleteTab(window)) && !remembered(window)) g_takenOff.push_back(window);
}

void giveButtonBack(HWND window) {
    auto it = std::find(g_takenOff.begin(), g_takenOff.end(), window);
    if (it == g_takenOff.end()) return;
    g_takenOff.erase(it);
    if (g_list && IsWindow(window)) g_list->AddTab(window);
}

void giveAllButtonsBack() noexcept {
    // Each taken out before it is given back: a window that answers slowly must not see its button given back
    // twice. Popping frees nothing, so this also runs inside the crash guard.
    while (!g_takenOff.empty()) {
        HWND window = g_takenOff.back();
        g_takenOff.pop_back();
        if (g_list && IsWindow(window)) g_list->AddTab(window);
    }
}

void renewTaskbarList() {
    releaseList();
    g_listTried = false;
    g_takenOff.clear();
}

void giveAllButtonsBackOnBarThread() noexcept {
    if (g_barThread != 0 && GetCurrentThreadId() == g_barThread) giveAllButtonsBack();
}

} // namespace app
