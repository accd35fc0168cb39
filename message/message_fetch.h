// The once-per-run fetch of the server's message: a worker waits, loads cvil.dll, asks the server up to
// four times, takes the body on a window of its own and hands the bar a registered copy (message 1028,
// handled by handleHttpReply).
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "message/reply_relay.h"
#include "win/thread.h"

namespace message {

constexpr int HTTP_MODE_MESSAGE = 2;
constexpr const char* kRequestPath = "/c.cgi?v=1.21";
constexpr const char* kLoadFailureText = "Cannot load library \"cvil.dll\"!";

// The loaded HTTP library and the number of workers using it. The bar and its workers own it jointly,
// so a worker that outlives the bar window never touches freed memory; the last user frees the library.
struct HttpLibraryShare {
    std::mutex lock;
    HMODULE httpLibrary = nullptr;
    int32_t httpLibraryUsers = 0;

    // Loads the library unless it is loaded, and counts one more user; null when it cannot be loaded.
    HMODULE acquire(const std::string& path);
    // Counts one user less; the last one frees the library and lets the system trim the working set.
    void release();
};

struct FetchOptions {
    // Full path of cvil.dll; empty means the one beside the program, never one found on the search path.
    std::string libraryPath;
    DWORD firstDelayMs = 30000;
    DWORD retryDelayMs = 20000;
    int attempts = 4;
    std::function<void(DWORD)> sleep;             // Sleep when empty
    std::function<void(const char*)> reportError; // a message box when empty
};

// cvil.dll in the program's own folder.
std::string libraryBesideProgram();

// The worker of one fetch for one bar window. Releasing the object detaches the worker from the bar: from
// then on it neither sends to the window nor reports anything, and ends at its next step.
class MessageFetch {
  public:
    MessageFetch(HWND bar, std::shared_ptr<HttpLibraryShare> library, std::shared_ptr<ReplyRegistry> replies,
                 FetchOptions options = {});
    ~MessageFetch();
    MessageFetch(const MessageFetch&) = delete;
    MessageFetch& operator=(const MessageFetch&) = delete;

    bool start();
    // Waits for the worker's end (tests).
    bool wait(DWORD timeoutMs) const { return thread_.wait(timeoutMs); }
    HANDLE handle() const { return thread_.handle(); }

  private:
    struct Link;
    static void messageFetchThread(const std::shared_ptr<Link>& link);

    std::shared_ptr<Link> link_;
    win::WorkerThread thread_;
};

// Starts the fetch for the bar window; null when the thread could not be started.
std::unique_ptr<MessageFetch> startMessageFetch(HWND bar, std::shared_ptr<HttpLibraryShare> library,
                                                std::shared_ptr<ReplyRegistry> replies,
                                                FetchOptions options = {});

} // namespace message
