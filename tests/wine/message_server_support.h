// Test support for the server message: the loopback message server (tools/message-server) started and
// stopped by the tests themselves, and what the tests read of the message dialog.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "kit/process.h"

namespace msgtest {

class MessageServer {
  public:
    MessageServer() = default;
    ~MessageServer() { stop(); }
    MessageServer(const MessageServer&) = delete;
    MessageServer& operator=(const MessageServer&) = delete;

    // Starts the server with these extra command-line options and waits until it listens.
    bool start(const std::string& options = "");
    void stop();
    int port() const { return port_; }
    // "127.0.0.1:port", the form CORVANE_MESSAGE_SERVER takes.
    std::string address() const;
    // The number of requests for /c.cgi the server has answered so far, or -1.
    int requests() const;
    // Points the HTTP library of this process at the server.
    void useForThisProcess() const;

  private:
    std::string fetch(const char* path) const;

    int port_ = 0;
};

// A loopback port on which nothing listens (bound for a moment, then released).
int unusedPort();

// A window's text, up to 511 characters.
std::string textOf(HWND hwnd);
// A child's rectangle in its dialog's client pixels.
RECT clientRect(HWND dialog, HWND child);

} // namespace msgtest

namespace msgtest {

// Watches for a dialog box of this process that is not one of ours (the system's credentials dialog)
// and answers it from another thread, so that a test never hangs on it.
class DialogWatchdog {
  public:
    // Called on the watchdog's thread with the dialog found; it must close the dialog.
    explicit DialogWatchdog(std::function<void(HWND)> answer, DWORD timeoutMs = 15000);
    ~DialogWatchdog();
    DialogWatchdog(const DialogWatchdog&) = delete;
    DialogWatchdog& operator=(const DialogWatchdog&) = delete;

    int dialogsSeen() const { return seen_; }
    HWND lastOwner() const { return owner_; }

  private:
    static DWORD WINAPI run(void* self);

    std::function<void(HWND)> answer_;
    DWORD timeoutMs_;
    volatile LONG stop_ = 0;
    volatile LONG seen_ = 0;
    HWND owner_ = nullptr;
    HANDLE thread_ = nullptr;
};

// The visible dialog boxes (#32770) of this process.
std::vector<HWND> processDialogs();

} // namespace msgtest
