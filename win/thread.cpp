#include "win/thread.h"

#include <memory>

namespace win {

WorkerThread::WorkerThread(std::function<void()> body) : body_(std::move(body)) {}

bool WorkerThread::create() {
    if (thread_) return false;
    // The thread gets its own copy of the body, so releasing this object never pulls it from under it.
    auto* body = new (std::nothrow) std::function<void()>(body_);
    if (!body) return false;
    thread_.reset(CreateThread(nullptr, 0, entry, body, CREATE_SUSPENDED, nullptr));
    if (!thread_) {
        delete body;
        return false;
    }
    return true;
}

bool WorkerThread::start() {
    return thread_ && ResumeThread(thread_.get()) != static_cast<DWORD>(-1);
}

bool WorkerThread::wait(DWORD timeoutMs) const {
    return thread_ && WaitForSingleObject(thread_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD WINAPI WorkerThread::entry(void* param) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(param));
    try {
        (*body)();
    } catch (...) {
        // A worker's failure ends only the worker.
    }
    return 0;
}

} // namespace win
