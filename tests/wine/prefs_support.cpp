#include "prefs_support.h"

#include <utility>

#include "app/settings_store.h"

namespace prefs_test {

namespace {
constexpr const char* kExecutorClass = "PrefsTestExecutor";
constexpr const char* kBarClass = "PrefsTestBar";
constexpr UINT WM_RUN = WM_APP + 1;
constexpr UINT WM_RUN_OWNED = WM_APP + 2;

LRESULT CALLBACK executorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_RUN) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    if (msg == WM_RUN_OWNED) {
        auto* fn = reinterpret_cast<std::function<void()>*>(lParam);
        (*fn)();
        delete fn;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK barProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETREDRAW) {
        auto* host = reinterpret_cast<TestHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (host) host->record("redraw " + std::to_string(wParam));
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

BOOL CALLBACK collect(HWND w, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(w);
    return TRUE;
}
} // namespace

UiThread::UiThread() {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, main, this, 0, &threadId_);
    WaitForSingleObject(ready_, 10000);
}

UiThread::~UiThread() {
    dismissAll(threadId_);
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    if (WaitForSingleObject(thread_, 10000) != WAIT_OBJECT_0) TerminateThread(thread_, 1);
    CloseHandle(thread_);
    CloseHandle(ready_);
}

DWORD WINAPI UiThread::main(void* param) {
    auto* self = static_cast<UiThread*>(param);
    WNDCLASSA wc{};
    wc.lpfnWndProc = executorProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kExecutorClass;
    RegisterClassA(&wc);
    self->executor_ =
        CreateWindowExA(0, kExecutorClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetEvent(self->ready_);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyWindow(self->executor_);
    return 0;
}

void UiThread::call(const std::function<void()>& fn) {
    SendMessageA(executor_, WM_RUN, 0, reinterpret_cast<LPARAM>(&fn));
}

void UiThread::post(std::function<void()> fn) {
    PostMessageA(executor_, WM_RUN_OWNED, 0,
                 reinterpret_cast<LPARAM>(new std::function<void()>(std::move(fn))));
}

HFONT TestHost::dialogFont() {
    if (!dialogFont_)
        dialogFont_ =
            CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_STRING_PRECIS,
                        CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
    return dialogFont_;
}

HFONT TestHost::buttonFont() {
    if (!buttonFont_)
        buttonFont_ =
            CreateFontA(values.fontHeight, 0, 0, 0, values.fontWeight, static_cast<BYTE>(values.fontItalic),
                        0, 0, static_cast<BYTE>(values.fontCharset), 0, 0, 0, 0, values.fontFaceName.c_str());
    return buttonFont_;
}

void TestHost::rebuildButtonFont() {
    if (buttonFont_) DeleteObject(buttonFont_);
    buttonFont_ =
        CreateFontA(values.fontHeight, 0, 0, 0, values.fontWeight, static_cast<BYTE>(values.fontItalic), 0, 0,
                    static_cast<BYTE>(values.fontCharset), 0, 0, 0, 0, values.fontFaceName.c_str());
    record("rebuildButtonFont");
}

void TestHost::writeDword(const char* name, int32_t value) {
    record(std::string("write ") + name + "=" + std::to_string(value));
    app::writeDwordSetting(core::kSettingsKey, name, value);
}

void TestHost::writeString(const char* name, const std::string& text) {
    record(std::string("write ") + name + "=" + text);
    app::writeStringSetting(core::kSettingsKey, name, text);
}

void TestHost::registerHotKey(int id, UINT modifiers, UINT key) {
    record("register " + std::to_string(id) + " " + std::to_string(modifiers) + " " + std::to_string(key));
    RegisterHotKey(bar, id, modifiers, key);
}

void TestHost::record(const std::string& event) {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.push_back(event);
}

std::vector<std::string> TestHost::takeLog() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(log_, {});
}

std::vector<std::string> TestHost::log() {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

HWND createStandInBar(TestHost& host) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = barProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kBarClass;
    RegisterClassA(&wc);
    HWND bar = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kBarClass, "stand-in bar", WS_POPUP, 0, 744,
                               1024, 24, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(bar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
    ShowWindow(bar, SW_SHOWNOACTIVATE);
    host.bar = bar;
    return bar;
}

std::vector<HWND> threadWindows(DWORD threadId, const char* className, const char* title) {
    std::vector<HWND> all, found;
    EnumThreadWindows(threadId, collect, reinterpret_cast<LPARAM>(&all));
    for (HWND w : all) {
        char cls[64] = {};
        GetClassNameA(w, cls, sizeof(cls));
        if (className && lstrcmpA(cls, className) != 0) continue;
        if (title && windowText(w) != title) continue;
        found.push_back(w);
    }
    return found;
}

std::string messageBoxText(HWND box) {
    std::vector<HWND> children;
    EnumChildWindows(box, collect, reinterpret_cast<LPARAM>(&children));
    for (HWND c : children) {
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof(cls));
        std::string text = windowText(c);
        if (lstrcmpiA(cls, "Static") == 0 && !text.empty()) return text;
    }
    return "";
}

void dismissAll(DWORD threadId) {
    for (int round = 0; round < 50; ++round) {
        std::vector<HWND> dialogs = threadWindows(threadId, "#32770", nullptr);
        bool any = false;
        for (HWND d : dialogs) {
            if (!IsWindowVisible(d)) continue;
            any = true;
            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        }
        if (!any) return;
        Sleep(50);
    }
}

Watchdog::Watchdog(DWORD threadId, DWORD patienceMs) : threadId_(threadId), patienceMs_(patienceMs) {
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, main, this, 0, nullptr);
}

Watchdog::~Watchdog() {
    SetEvent(stop_);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    CloseHandle(stop_);
}

DWORD WINAPI Watchdog::main(void* param) {
    auto* self = static_cast<Watchdog*>(param);
    HWND watched = nullptr;
    DWORD since = 0;
    while (WaitForSingleObject(self->stop_, 100) == WAIT_TIMEOUT) {
        HWND open = nullptr;
        for (HWND d : threadWindows(self->threadId_, "#32770", nullptr))
            if (d != self->spared_ && IsWindowVisible(d)) open = d;
        if (open != watched) {
            watched = open;
            since = GetTickCount();
        } else if (open && GetTickCount() - since > self->patienceMs_) {
            PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
            ++self->dismissed_;
            since = GetTickCount();
        }
    }
    return 0;
}

std::string windowText(HWND w) {
    char text[2048] = {};
    GetWindowTextA(w, text, sizeof(text));
    return text;
}

RECT childRect(HWND control) {
    RECT rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

} // namespace prefs_test
