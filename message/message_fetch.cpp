#include "message/message_fetch.h"

#include <atomic>
#include <vector>

#include "core/program_name.h"
#include "netfetch/cvil.h"
#include "resources/resource.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace message {

struct MessageFetch::Link {
    std::atomic<HWND> bar;
    std::shared_ptr<HttpLibraryShare> library;
    std::shared_ptr<ReplyRegistry> replies;
    FetchOptions options;

    void sleep(DWORD ms) const {
        if (options.sleep) {
            options.sleep(ms);
        } else {
            Sleep(ms);
        }
    }
    // Sends the bar a registered copy and waits until it was handled (the dialog closed).
    void handOver(Reply reply) const {
        HWND target = bar;
        if (!target || !replies) return;
        const int mode = reply.mode;
        const WPARAM key = replies->issue(std::move(reply));
        SendMessageA(target, cvil::kReplyMessage, key, mode);
        // Not taken by a bar that went away meanwhile: withdrawn, so nothing is left behind.
        replies->take(key);
    }
};

HMODULE HttpLibraryShare::acquire(const std::string& path) {
    std::lock_guard<std::mutex> hold(lock);
    if (!httpLibrary && !path.empty()) httpLibrary = LoadLibraryA(path.c_str());
    if (!httpLibrary) return nullptr;
    ++httpLibraryUsers;
    return httpLibrary;
}

void HttpLibraryShare::release() {
    std::lock_guard<std::mutex> hold(lock);
    if (httpLibraryUsers <= 0) return;
    if (--httpLibraryUsers > 0 || !httpLibrary) return;
    if (FreeLibrary(httpLibrary)) {
        httpLibrary = nullptr;
        SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
    }
}

std::string libraryBesideProgram() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        // Never by bare name: the search could find a file of that name elsewhere.
        if (length == 0) return {};
        if (length < path.size()) break;
        path.resize(path.size() * 2);
    }
    std::string folder(path.data());
    const size_t slash = folder.find_last_of("\\/");
    folder.erase(slash == std::string::npos ? 0 : slash + 1);
    return folder + cvil::kLibraryFile;
}

MessageFetch::MessageFetch(HWND bar, std::shared_ptr<HttpLibraryShare> library,
                           std::shared_ptr<ReplyRegistry> replies, FetchOptions options)
    : link_(std::make_shared<Link>()), thread_([link = link_] { messageFetchThread(link); }) {
    link_->bar = bar;
    link_->library = std::move(library);
    link_->replies = std::move(replies);
    link_->options = std::move(options);
    if (link_->options.libraryPath.empty()) link_->options.libraryPath = libraryBesideProgram();
}

MessageFetch::~MessageFetch() {
    link_->bar = nullptr;
}

bool MessageFetch::start() {
    return thread_.create() && thread_.start();
}

void MessageFetch::messageFetchThread(const std::shared_ptr<Link>& link) {
    const FetchOptions& options = link->options;
    // Made before the wait, while the bar is still starting: where the system reports a new window to the
    // shell hook, the bar then hears of this one at start-up, not as a wake in the middle of its idle time.
    ReplyTarget target;
    link->sleep(options.firstDelayMs);
    if (!link->bar || !link->library) return;
    HMODULE library = link->library->acquire(options.libraryPath);
    if (!library) {
        if (options.reportError) {
            options.reportError(kLoadFailureText);
        } else {
            std::wstring text = win::uiWideText(GetModuleHandleW(nullptr), IDS_LOAD_FAILURE);
            if (text.empty()) text = win::widen(kLoadFailureText);
            MessageBoxW(nullptr, text.c_str(), win::widen(core::kProgramName).c_str(),
                        MB_OK | MB_ICONEXCLAMATION);
        }
        return;
    }
    cvil::HttpGetFn httpGet = cvil::entryPoint(library);
    for (int attempt = 1; httpGet && target.hwnd() && attempt <= options.attempts; ++attempt) {
        // A bar that went away gets nothing more, and nobody is left to answer.
        if (!link->bar) break;
        const bool done = httpGet(kRequestPath, target.hwnd(), HTTP_MODE_MESSAGE) != 0;
        if (std::unique_ptr<Reply> reply = target.take()) link->handOver(std::move(*reply));
        if (done || attempt == options.attempts) break;
        link->sleep(options.retryDelayMs);
    }
    // Released also after the last failed attempt: nothing else will use it in this run.
    link->library->release();
}

std::unique_ptr<MessageFetch> startMessageFetch(HWND bar, std::shared_ptr<HttpLibraryShare> library,
                                                std::shared_ptr<ReplyRegistry> replies,
                                                FetchOptions options) {
    auto fetch =
        std::make_unique<MessageFetch>(bar, std::move(library), std::move(replies), std::move(options));
    if (!fetch->start()) return nullptr;
    return fetch;
}

} // namespace message
