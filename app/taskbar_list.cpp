#include "app/taskbar_list.h"

#include <shobjidl.h>

#include <algorithm>
#include <vector>

namespace app {

namespace {
// One bar per process, on one thread: this state is that bar's.
ITaskbarList* g_list = nullptr;
bool g_comStarted = false;
DWORD g_barThread = 0;
std::vector<HWND> g_takenOff;

ITaskbarList* makeList() {
    void* object = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList, &object)))
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

bool remembered(HWND window) {
    return std::find(g_takenOff.begin(), g_takenOff.end(), window) != g_takenOff.end();
}
} // namespace

bool startTaskbarList() {
    g_barThread = GetCurrentThreadId();
    if (!g_comStarted) g_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (!g_list) g_list = makeList();
    return g_list != nullptr;
}

void endTaskbarList() {
    giveAllButtonsBack();
    releaseList();
    if (g_comStarted) CoUninitialize();
    g_comStarted = false;
}

void takeButtonOff(HWND window) {
    if (!g_list || !IsWindow(window)) return;
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
    g_list = makeList();
    g_takenOff.clear();
}

void giveAllButtonsBackOnBarThread() noexcept {
    if (g_barThread != 0 && GetCurrentThreadId() == g_barThread) giveAllButtonsBack();
}

} // namespace app
