// How a fetched body travels from the worker to the bar. Nothing in a window message tells who sent it, so
// neither side reads a pointer out of a message it cannot vouch for: the worker takes the library's reply
// on a window of its own thread, and the bar reads only a reply object it registered itself.
#pragma once
#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace message {

struct Reply {
    std::string body;
    int mode = 0;
};

// The replies on their way to the bar and not yet taken. Owned jointly by the bar and its workers, since a
// worker may outlive the bar.
class ReplyRegistry {
  public:
    // Keeps the reply and returns the value that stands for it in a message's wParam.
    WPARAM issue(Reply reply);
    // The reply registered under that value, now the caller's; null for any value this registry did not
    // issue or has given out before. The value is compared, never dereferenced.
    std::unique_ptr<Reply> take(WPARAM key);

  private:
    std::mutex lock_;
    std::vector<std::unique_ptr<Reply>> outstanding_;
};

// The worker's target for the library's reply: a message-only window of the creating thread. It keeps a
// reply only when the library sends it from this very thread; a reply message sent from another thread or
// process, or posted and dispatched by a dialog's loop on this thread, is dropped unread.
class ReplyTarget {
  public:
    ReplyTarget();
    ~ReplyTarget();
    ReplyTarget(const ReplyTarget&) = delete;
    ReplyTarget& operator=(const ReplyTarget&) = delete;

    HWND hwnd() const noexcept { return window_; }
    // The reply received since the last call, if any.
    std::unique_ptr<Reply> take() { return std::move(received_); }

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK dropPosted(int code, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HHOOK hook_ = nullptr;
    std::unique_ptr<Reply> received_;
};

} // namespace message
