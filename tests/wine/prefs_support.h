// A stand-in program for the preferences: a UI thread that runs the dialog as the bar program would, a
// stand-in bar window, and a host that records every call and writes the real registry.
#pragma once
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "prefs/preferences_dialog.h"
#include "prefs/preferences_host.h"

namespace prefs_test {

// Runs function objects on a thread of its own, which owns every window of the test program.
class UiThread {
  public:
    UiThread();
    ~UiThread();
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    // Runs fn on the UI thread and waits for it (also while a modal dialog runs there).
    void call(const std::function<void()>& fn);
    // Runs fn on the UI thread without waiting.
    void post(std::function<void()> fn);
    DWORD id() const { return threadId_; }

  private:
    static DWORD WINAPI main(void* self);
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    DWORD threadId_ = 0;
    HWND executor_ = nullptr;
};

class TestHost : public prefs::PreferencesHost {
  public:
    core::Settings values;
    HWND bar = nullptr;
    int lastPage = 0;

    core::Settings& settings() override { return values; }
    HINSTANCE instance() override { return GetModuleHandleA(nullptr); }
    HWND barWindow() override { return bar; }
    HFONT dialogFont() override;
    HFONT buttonFont() override;
    void rebuildButtonFont() override;
    void writeDword(const char* name, int32_t value) override;
    void writeString(const char* name, const std::string& text) override;
    void dockEdgeChanged() override { record("dockEdgeChanged"); }
    void placeBrowsers() override { record("placeBrowsers"); }
    void positionBar() override { record("positionBar"); }
    void unregisterHotKey(int id) override { record("unregister " + std::to_string(id)); }
    void registerHotKey(int id, UINT modifiers, UINT key) override;
    int lastPreferencesPage() override { return lastPage; }
    void setLastPreferencesPage(int pageId) override { lastPage = pageId; }

    void record(const std::string& event);
    std::vector<std::string> takeLog();
    std::vector<std::string> log();

  private:
    std::mutex mutex_;
    std::vector<std::string> log_;
    HFONT dialogFont_ = nullptr;
    HFONT buttonFont_ = nullptr;
};

// The stand-in bar: a visible strip that reports WM_SETREDRAW to the host's log.
HWND createStandInBar(TestHost& host);

// Every top-level window of the thread with the given class and title (either may be null).
std::vector<HWND> threadWindows(DWORD threadId, const char* className, const char* title);
// The text of the first static child of a message box, or "".
std::string messageBoxText(HWND box);
// Ends every dialog of the thread (message boxes, common dialogs, the preferences) until none is left.
void dismissAll(DWORD threadId);

// Dismisses any dialog of the UI thread (other than except) that stays open longer than the patience, so
// that a test that forgot one, or failed before dismissing it, can never hang.
class Watchdog {
  public:
    Watchdog(DWORD threadId, DWORD patienceMs);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    void spare(HWND window) { spared_ = window; }
    int dismissed() const { return dismissed_; }

  private:
    static DWORD WINAPI main(void* self);
    DWORD threadId_;
    DWORD patienceMs_;
    HANDLE stop_;
    HANDLE thread_;
    volatile HWND spared_ = nullptr;
    volatile int dismissed_ = 0;
};

std::string windowText(HWND w);
// A control's rectangle in its parent's client coordinates.
RECT childRect(HWND control);

} // namespace prefs_test
