// The stand-in programs of tools/ (cv-browser.exe, cv-taskbar.exe), stopping programs dead, and answering
// the message boxes that the code under test shows.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "kit/process.h"

namespace standin {

// Starts a cv-browser.exe (or the stand-in whose program file carries a red icon, "cv-red-browser.exe") and
// waits for its (first) window. Returns the window, or null.
HWND openBrowser(kit::Process& process, const std::string& arguments, const char* program = "cv-browser.exe");

// Starts a copy of cv-browser.exe under another program name ("chrome.exe"), as the bar tells browsers
// apart by their program. False when it cannot be started.
bool startBrowserAs(kit::Process& process, const std::string& programName, const std::string& arguments);

// Starts cv-taskbar.exe (unless the process runs already) and waits until its tray window is the one
// FindWindowA finds. Returns it, or null.
HWND openTaskbar(kit::Process& process, const std::string& arguments);

// Sends a Unix signal ("STOP" or "CONT") to the Wine processes of this prefix whose program file is `image`
// (for example "corvane.exe"): a stopped program answers nothing at all, as a hung one. Other prefixes'
// programs are left alone. True once the signal was sent (or nothing matched).
bool signalProgram(const char* image, const char* signal);

// Watches this process for a message box with the given caption, records its text and dismisses it.
class MessageBoxWatcher {
  public:
    explicit MessageBoxWatcher(std::string caption);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    int count() const { return count_; }
    std::string lastText() const;

  private:
    void run();
    std::string caption_;
    std::atomic<bool> stop_{false};
    std::atomic<int> count_{0};
    char text_[512] = {};
    std::thread thread_;
};

} // namespace standin
