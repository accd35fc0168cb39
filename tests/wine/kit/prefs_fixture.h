// The fixture of the preferences tests: a fresh registry key, a UI thread that runs the dialog as the bar
// program would, a stand-in bar window, and a host that records every call and writes the real registry.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/settings_store.h"
#include "core/program_name.h"
#include "kit/bar.h"
#include "prefs/preferences_dialog.h"
#include "prefs/preferences_host.h"
#include "prefs/preferences_page.h"
#include "resources/resource.h"

namespace prefs_test {

using Log = std::vector<std::string>;

inline void registerClass(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

inline std::string windowText(HWND w) {
    char text[2048] = {};
    GetWindowTextA(w, text, sizeof(text));
    return text;
}

// A control's rectangle in its parent's client coordinates.
inline RECT childRect(HWND control) {
    RECT rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// The visible top-level windows of this program with the class and title (either may be null).
inline std::vector<HWND> ownWindows(const char* className, const char* title = nullptr) {
    return kit::topLevelWindows(className, title, GetCurrentProcessId());
}

// Ends every dialog of the program (message boxes, common dialogs, the preferences) until none is left.
inline void dismissAll() {
    for (int round = 0; round < 50; ++round) {
        const std::vector<HWND> dialogs = ownWindows("#32770");
        if (dialogs.empty()) return;
        for (HWND d : dialogs)
            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        Sleep(50);
    }
}

// Runs function objects on a thread of its own, which owns every window of the test program.
class UiThread {
  public:
    UiThread() {
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            registerClass("PrefsTestExecutor", run);
            executor_ = CreateWindowExA(0, "PrefsTestExecutor", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr);
            SetEvent(ready);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            DestroyWindow(executor_);
        });
        WaitForSingleObject(ready, 10000);
        CloseHandle(ready);
    }
    ~UiThread() {
        dismissAll();
        post([] { PostQuitMessage(0); });
        thread_.join();
    }

    // Runs fn on the UI thread and waits for it (also while a modal dialog runs there).
    void call(std::function<void()> fn) { SendMessageA(executor_, kRun, 0, reinterpret_cast<LPARAM>(&fn)); }
    // Runs fn on the UI thread without waiting.
    void post(std::function<void()> fn) {
        PostMessageA(executor_, kRun, 1, reinterpret_cast<LPARAM>(new std::function<void()>(std::move(fn))));
    }
    // What fn answers, run on the UI thread.
    template <class Fn> auto get(Fn fn) {
        decltype(fn()) answer{};
        call([&] { answer = fn(); });
        return answer;
    }

  private:
    static constexpr UINT kRun = WM_APP + 1;
    // lParam is the function to run; wParam is set when it was posted, and the message owns it.
    static LRESULT CALLBACK run(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != kRun) return DefWindowProcA(hwnd, msg, wParam, lParam);
        auto* fn = reinterpret_cast<std::function<void()>*>(lParam);
        (*fn)();
        if (wParam) delete fn;
        return 0;
    }
    HWND executor_ = nullptr;
    std::thread thread_;
};

class TestHost : public prefs::PreferencesHost {
  public:
    core::Settings values;
    HWND bar = nullptr;
    int lastPage = 0;
    // Paints of the stand-in bar: its own thread may paint it before a test looks at its update region.
    std::atomic<int> barPaints{0};

    core::Settings& settings() override { return values; }
    HINSTANCE instance() override { return GetModuleHandleA(nullptr); }
    HWND barWindow() override { return bar; }
    HFONT dialogFont() override {
        if (!dialogFont_)
            dialogFont_ =
                CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_STRING_PRECIS,
                            CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
        return dialogFont_;
    }
    HFONT buttonFont() override {
        if (!buttonFont_)
            buttonFont_ = CreateFontA(
                values.fontHeight, 0, 0, 0, values.fontWeight, static_cast<BYTE>(values.fontItalic), 0, 0,
                static_cast<BYTE>(values.fontCharset), 0, 0, 0, 0, values.fontFaceName.c_str());
        return buttonFont_;
    }
    void rebuildButtonFont() override {
        if (buttonFont_) DeleteObject(std::exchange(buttonFont_, nullptr));
        buttonFont();
        record("rebuildButtonFont");
    }
    void writeDword(const char* name, int32_t value) override {
        record(std::string("write ") + name + "=" + std::to_string(value));
        app::writeDwordSetting(core::kSettingsKey, name, value);
    }
    void writeString(const char* name, const std::string& text) override {
        record(std::string("write ") + name + "=" + text);
        app::writeStringSetting(core::kSettingsKey, name, text);
    }
    void dockEdgeChanged() override { record("dockEdgeChanged"); }
    void barsChanged() override { record("barsChanged"); }
    void desktopFilterChanged() override { record("desktopFilterChanged"); }
    void placeBrowsers() override { record("placeBrowsers"); }
    void positionBar() override { record("positionBar"); }
    void unregisterHotKey(int id) override { record("unregister " + std::to_string(id)); }
    void registerHotKey(int id, UINT modifiers, UINT key) override {
        record("register " + std::to_string(id) + " " + std::to_string(modifiers) + " " +
               std::to_string(key));
        RegisterHotKey(bar, id, modifiers, key);
    }
    int lastPreferencesPage() override { return lastPage; }
    void setLastPreferencesPage(int pageId) override { lastPage = pageId; }

    void record(const std::string& event) {
        std::lock_guard<std::mutex> lock(mutex_);
        log_.push_back(event);
    }
    Log takeLog() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(log_, {});
    }
    Log log() {
        std::lock_guard<std::mutex> lock(mutex_);
        return log_;
    }

    // The stand-in bar: a visible strip that reports WM_SETREDRAW to the log.
    void createBar() {
        registerClass("PrefsTestBar", barProc);
        bar = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "PrefsTestBar", "stand-in bar", WS_POPUP, 0,
                              744, 1024, 24, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(bar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(bar, SW_SHOWNOACTIVATE);
    }

  private:
    static LRESULT CALLBACK barProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* host = reinterpret_cast<TestHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (msg == WM_SETREDRAW && host) host->record("redraw " + std::to_string(wParam));
        if (msg == WM_PAINT && host) ++host->barPaints;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    std::mutex mutex_;
    Log log_;
    HFONT dialogFont_ = nullptr;
    HFONT buttonFont_ = nullptr;
};

// Dismisses any dialog (other than the spared one) that stays open longer than the patience, so that a test
// that forgot one, or failed before dismissing it, can never hang.
class Watchdog {
  public:
    explicit Watchdog(DWORD patienceMs) : thread_([this, patienceMs] { run(patienceMs); }) {}
    ~Watchdog() {
        stop_ = true;
        thread_.join();
    }
    void spare(HWND window) { spared_ = window; }
    int dismissed() const { return dismissed_; }

  private:
    void run(DWORD patienceMs) {
        HWND watched = nullptr;
        DWORD since = 0;
        for (; !stop_; Sleep(100)) {
            HWND open = nullptr;
            for (HWND d : ownWindows("#32770"))
                if (d != spared_) open = d;
            if (open != watched) {
                watched = open;
                since = GetTickCount();
            } else if (open && GetTickCount() - since > patienceMs) {
                PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
                ++dismissed_;
                since = GetTickCount();
            }
        }
    }
    std::atomic<bool> stop_{false};
    std::atomic<HWND> spared_{nullptr};
    std::atomic<int> dismissed_{0};
    std::thread thread_; // last: it starts once the rest is made
};

// The tree's top-level items in order, each with its text.
inline std::vector<std::pair<HTREEITEM, std::string>> treeItems(HWND tree) {
    std::vector<std::pair<HTREEITEM, std::string>> items;
    for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item)) {
        char text[64] = {};
        TVITEMA tvi{};
        tvi.mask = TVIF_TEXT | TVIF_HANDLE;
        tvi.hItem = item;
        tvi.pszText = text;
        tvi.cchTextMax = sizeof(text);
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
        items.emplace_back(item, text);
    }
    return items;
}

class PrefsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        e2e::deleteSettingsKey();
        ui_ = std::make_unique<UiThread>();
        watchdog_ = std::make_unique<Watchdog>(8000);
        ui_->call([&] { host_.createBar(); });
    }
    void TearDown() override {
        dismissAll();
        kit::waitFor([&] { return !running_; }, 5000);
        ui_->call([&] { DestroyWindow(host_.bar); });
        EXPECT_EQ(watchdog_->dismissed(), 0) << "a modal dialog was left open";
        watchdog_.reset();
        ui_.reset();
        e2e::deleteSettingsKey();
    }

    // Opens the dialog on the UI thread and waits until it shows a page (or none is due).
    HWND open() {
        running_ = true;
        ui_->post([this] {
            prefs::PreferencesDialog dialog(host_);
            dialog_ = &dialog;
            dialog.run();
            dialog_ = nullptr;
            running_ = false;
        });
        // A modal dialog shows itself only once its loop first runs dry: until then its page is not visible.
        kit::waitFor([&] { return dialogWindow() && IsWindowVisible(dialogWindow()); });
        watchdog_->spare(dialogWindow());
        return dialogWindow();
    }
    // Opens the dialog on the page, with what the log held until then dropped.
    void openAt(const char* pageName) {
        open();
        selectPage(pageName);
        host_.takeLog();
    }
    HWND dialogWindow() {
        return ui_->get([&] { return dialog_ ? dialog_->hwnd() : nullptr; });
    }
    HWND page() {
        return ui_->get(
            [&] { return dialog_ && dialog_->currentPage() ? dialog_->currentPage()->hwnd() : nullptr; });
    }
    HWND control(int id) { return GetDlgItem(page(), id); }
    // Closes with the given command (IDOK for Close or Enter, IDCANCEL for Escape) and waits for the end.
    bool close(int command = IDOK) {
        if (HWND d = dialogWindow()) PostMessageA(d, WM_COMMAND, command, 0);
        return kit::waitFor([&] { return !running_; }, 5000);
    }
    void selectPage(const char* text) {
        HWND tree = GetDlgItem(dialogWindow(), IDC_PREFS_TREE);
        for (const auto& [item, itemText] : treeItems(tree))
            if (itemText == text) ui_->call([&] { TreeView_SelectItem(tree, item); });
    }
    // Types text into an edit as the user would leave it: new text, marked modified.
    void type(int id, const char* text) {
        HWND edit = control(id);
        ui_->call([&] {
            SetFocus(edit);
            SetWindowTextA(edit, text);
            SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
        });
    }
    // Moves the focus to the tree without waiting: a refusal shows a message box on the way.
    void leaveEditAsync() {
        HWND tree = GetDlgItem(dialogWindow(), IDC_PREFS_TREE);
        ui_->post([tree] { SetFocus(tree); });
    }
    void enter(int id, const char* text) {
        type(id, text);
        leaveEditAsync();
    }
    // Handled on the UI thread, which owns the button, before the call returns.
    void click(int id) { SendMessageA(control(id), BM_CLICK, 0, 0); }
    HWND focus() {
        return ui_->get([] { return GetFocus(); });
    }
    // Waits for the "Bad value!" box and dismisses it; true when it came with the right text.
    bool expectBadValue() {
        HWND box = nullptr;
        if (!kit::waitFor(
                [&] { return (box = FindWindowA("#32770", core::kProgramName)) && IsWindowVisible(box); }))
            return false;
        const bool bad = windowText(FindWindowExA(box, nullptr, "Static", "Bad value!")) == "Bad value!";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        kit::waitFor([&] { return !IsWindow(box); });
        return bad;
    }
    bool noMessageBox() { return FindWindowA("#32770", core::kProgramName) == nullptr; }

    TestHost host_;
    std::unique_ptr<UiThread> ui_;
    std::unique_ptr<Watchdog> watchdog_;
    prefs::PreferencesDialog* dialog_ = nullptr;
    std::atomic<bool> running_{false};
};

} // namespace prefs_test
