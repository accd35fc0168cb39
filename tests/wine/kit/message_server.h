// Test support for the server message: the loopback message server (tools/message-server) started and
// stopped by the tests themselves, and what the tests read of the message dialog.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "kit/process.h"

namespace msgtest {

class MessageServer {
  public:
    MessageServer() = default;
    ~MessageServer() { stop(); }
    MessageServer(const MessageServer&) = delete;
    MessageServer& operator=(const MessageServer&) = delete;

    // Starts the server with these extra command-line options, waits until it listens and points this
    // process (and the programs it starts) at it.
    bool start(const std::string& options = "");
    // Starts it answering over TLS as well, on a port of its own, with a self-signed certificate for
    // localhost made at its start (in PEM at certificateFile()). The plain address stays as it was.
    bool startWithTls(const std::string& options = "");
    void stop();
    // "127.0.0.1:port", the form CORVANE_MESSAGE_SERVER takes.
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string tlsAddress() const { return "https://localhost:" + std::to_string(tlsPort_); }
    std::string certificateFile() const { return certificate_; }
    // The number of requests for /c.cgi the server has answered so far, or -1.
    int requests() const { return count("requests"); }
    // The TLS connections that ended before a request (a client that refused the certificate), and the
    // requests in plain HTTP that came to the TLS port; -1 when the server does not answer.
    int refusedConnections() const { return count("refused"); }
    int plainRequestsOnTls() const { return count("plain"); }
    // Points the HTTP library of this process at the server.
    void useForThisProcess() const { SetEnvironmentVariableA("CORVANE_MESSAGE_SERVER", address().c_str()); }

  private:
    bool launch(const std::string& options, bool tls);
    std::string fetch(const char* path) const;
    int count(const char* name) const;

    int port_ = 0;
    int tlsPort_ = 0;
    std::string certificate_;
};

// A loopback port on which nothing listens (bound for a moment, then released).
int unusedPort();

// A window's text, up to 511 characters.
std::string textOf(HWND hwnd);
// A child's rectangle in its dialog's client pixels.
RECT clientRect(HWND dialog, HWND child);

// One registry value set for a scope, then put back as it was, or removed when there was none.
class RegistryValue {
  public:
    RegistryValue(HKEY root, const char* key, const char* name, const std::string& text)
        : RegistryValue(root, key, name, REG_SZ, std::string(text.c_str(), text.size() + 1)) {}
    RegistryValue(HKEY root, const char* key, const char* name, DWORD number)
        : RegistryValue(root, key, name, REG_DWORD, std::string(reinterpret_cast<char*>(&number), 4)) {}
    ~RegistryValue();
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;

  private:
    RegistryValue(HKEY root, const char* key, const char* name, DWORD type, const std::string& data);
    HKEY key_ = nullptr;
    std::string name_, old_;
    DWORD oldType_ = 0;
    bool had_ = false;
};

// Watches for a dialog box of this process that is not one of ours (the system's credentials dialog)
// and answers it from another thread, so that a test never hangs on it.
class DialogWatchdog {
  public:
    // Called on the watchdog's thread with the dialog found; it must close the dialog.
    explicit DialogWatchdog(std::function<void(HWND)> answer, DWORD timeoutMs = 15000);
    ~DialogWatchdog() {
        stop_ = true;
        thread_.join();
    }
    DialogWatchdog(const DialogWatchdog&) = delete;
    DialogWatchdog& operator=(const DialogWatchdog&) = delete;

    int dialogsSeen() const { return seen_; }
    HWND lastOwner() const { return owner_; }

  private:
    void run(DWORD timeoutMs);

    std::function<void(HWND)> answer_;
    std::atomic<bool> stop_{false};
    std::atomic<int> seen_{0};
    std::atomic<HWND> owner_{nullptr};
    std::thread thread_; // last: it starts once the rest is ready
};

// The visible dialog boxes (#32770) of this process.
std::vector<HWND> processDialogs();

} // namespace msgtest
