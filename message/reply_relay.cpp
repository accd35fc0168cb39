#include "message/reply_relay.h"

#include <algorithm>

#include "netfetch/cvil.h"

namespace message {

namespace {
constexpr const char* kTargetClass = "CorvaneReplyTarget";
// The target of this thread, for its message hook, which has no data of its own.
thread_local HWND t_target = nullptr;
} // namespace

WPARAM ReplyRegistry::issue(Reply reply) {
    auto owned = std::make_unique<Reply>(std::move(reply));
    const WPARAM key = reinterpret_cast<WPARAM>(owned.get());
    std::lock_guard<std::mutex> hold(lock_);
    outstanding_.push_back(std::move(owned));
    return key;
}

std::unique_ptr<Reply> ReplyRegistry::take(WPARAM key) {
    std::lock_guard<std::mutex> hold(lock_);
    auto found =
        std::find_if(outstanding_.begin(), outstanding_.end(), [key](const std::unique_ptr<Reply>& r) {
            return reinterpret_cast<WPARAM>(r.get()) == key;
        });
    if (found == outstanding_.end()) return nullptr;
    std::unique_ptr<Reply> reply = std::move(*found);
    outstanding_.erase(found);
    return reply;
}

ReplyTarget::ReplyTarget() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kTargetClass;
    RegisterClassA(&wc); // already registered by an earlier worker: fine
    window_ = CreateWindowExA(0, kTargetClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                              nullptr);
    if (!window_) return;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    t_target = window_;
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, dropPosted, nullptr, GetCurrentThreadId());
    if (!hook_) {
        // Without the hook a posted reply message could not be told from the library's: no target at all.
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

ReplyTarget::~ReplyTarget() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (window_) DestroyWindow(window_);
    t_target = nullptr;
}

LRESULT CALLBACK ReplyTarget::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != cvil::kReplyMessage) return DefWindowProcA(hwnd, msg, wParam, lParam);
    // Sent from another thread or process: the pointer is not the library's.
    if (InSendMessageEx(nullptr) != ISMEX_NOSEND || wParam == 0) return 0;
    auto* self = reinterpret_cast<ReplyTarget*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return 0;
    // The body belongs to the library and goes away when this message returns.
    self->received_ =
        std::make_unique<Reply>(Reply{reinterpret_cast<const char*>(wParam), static_cast<int>(lParam)});
    return 0;
}

LRESULT CALLBACK ReplyTarget::dropPosted(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && msg->hwnd == t_target && msg->message == cvil::kReplyMessage)
        msg->message = WM_NULL;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace message
