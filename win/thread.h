// A worker thread that runs one function object. Released, not joined: a thread still running when its
// owner lets go of it goes on until it ends by itself or the process ends.
#pragma once
#include <windows.h>

#include <functional>

#include "win/handle.h"

namespace win {

class WorkerThread {
  public:
    explicit WorkerThread(std::function<void()> body);
    ~WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Creates the thread suspended; start() lets it run.
    bool create();
    bool start();
    // Waits up to timeoutMs for the thread's end; true when it has ended.
    bool wait(DWORD timeoutMs) const;
    HANDLE handle() const noexcept { return thread_.get(); }

  private:
    static DWORD WINAPI entry(void* param);

    std::function<void()> body_;
    KernelHandle thread_;
};

} // namespace win
