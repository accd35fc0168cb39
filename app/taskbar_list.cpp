#include "app/taskbar_list.h"

#include <shobjidl.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "win/handle.h"
#include "win/thread.h"

namespace app {

namespace {
// Long enough for a busy shell to answer, short enough that one that never answers cannot keep the bar, or a
// crashed bar's last moments, from ending.
constexpr DWORD kShellWaitMs = 3000;

enum class Ask : unsigned char { TakeOff, GiveBack, Renew, End };
struct Request {
    Ask ask;
    HWND window;
};

ITaskbarList* makeList() {
    void* object = nullptr;
    // __uuidof, not the import library's ids: those come in one object with two thousand others (35 KB).
    if (FAILED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskbarList),
                                &object)))
        return nullptr;
    auto* list = static_cast<ITaskbarList*>(object);
    if (FAILED(list->HrInit())) {
        list->Release();
        return nullptr;
    }
    return list;
}

HANDLE makeEvent(bool manualReset) {
    return CreateEventA(nullptr, manualReset, FALSE, nullptr);
}

// The bar's thread adds requests; the worker carries them out in the order they came, each a call into the
// shell that may take long or never return. The requests are not thread messages: a modal loop that COM runs
// during a call on the worker could take those out of its queue and drop them.
class Channel {
  public:
    bool ready() const { return wake_ && giveAllNow_ && allGivenBack_; }
    void post(Request request) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            requests_.push_back(request);
        }
        SetEvent(wake_.get());
    }
    void run();
    // The crash path: no lock, no allocation (the faulting thread may hold either).
    void askAllBackForGood(HANDLE worker) const noexcept;
    void giveAllBackForGood() noexcept;

  private:
    bool carryOutWaiting();
    void carryOut(const Request& request);
    ITaskbarList* list();
    void releaseList();
    void giveAllBack() noexcept;

    std::mutex lock_;
    std::vector<Request> requests_;
    win::KernelHandle wake_{makeEvent(false)};
    win::KernelHandle giveAllNow_{makeEvent(false)};
    win::KernelHandle allGivenBack_{makeEvent(true)};
    // The worker's alone from here.
    ITaskbarList* list_ = nullptr;
    // Made once per shell, when the first button is to be taken off.
    bool listTried_ = false;
    // After the bar's last give-back nothing is taken off again, whatever requests were still waiting.
    bool stopped_ = false;
    std::vector<HWND> takenOff_;
};

void Channel::run() {
    // An apartment of its own, so the object's calls and COM's waits hold up only this thread.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const HANDLE events[] = {giveAllNow_.get(), wake_.get()};
    for (bool going = true; going;) {
        const DWORD woke = MsgWaitForMultipleObjectsEx(2, events, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            giveAllBackForGood();
        } else if (woke == WAIT_OBJECT_0 + 1) {
            going = carryOutWaiting();
        } else if (woke == WAIT_OBJECT_0 + 2) {
            // An apartment's thread delivers COM's own window messages.
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
        } else {
            going = false;
        }
    }
    giveAllBack();
    releaseList();
    if (com) CoUninitialize();
}

bool Channel::carryOutWaiting() {
    std::vector<Request> batch;
    {
        std::lock_guard<std::mutex> hold(lock_);
        batch.swap(requests_);
    }
    for (const Request& request : batch) {
        if (request.ask == Ask::End) return false;
        // The bar's end does not wait for the requests before it to reach the shell one by one.
        if (WaitForSingleObject(giveAllNow_.get(), 0) == WAIT_OBJECT_0) giveAllBackForGood();
        carryOut(request);
    }
    return true;
}

void Channel::carryOut(const Request& request) {
    HWND window = request.window;
    auto it = std::find(takenOff_.begin(), takenOff_.end(), window);
    switch (request.ask) {
    case Ask::TakeOff:
        if (stopped_ || !IsWindow(window) || !list()) return;
        if (SUCCEEDED(list_->DeleteTab(window)) && it == takenOff_.end()) takenOff_.push_back(window);
        return;
    case Ask::GiveBack:
        if (it == takenOff_.end()) return;
        takenOff_.erase(it);
        if (list_ && IsWindow(window)) list_->AddTab(window);
        return;
    case Ask::Renew:
        releaseList();
        listTried_ = false;
        takenOff_.clear();
        return;
    case Ask::End:
        return;
    }
}

// Making the object costs a few milliseconds, and with a taskbar of tab controls most sessions never need it:
// it is made when a button is first to be taken off.
ITaskbarList* Channel::list() {
    if (list_ || listTried_) return list_;
    listTried_ = true;
    list_ = makeList();
    return list_;
}

void Channel::releaseList() {
    if (list_) list_->Release();
    list_ = nullptr;
}

void Channel::giveAllBack() noexcept {
    // Each taken out before it is given back: a window that answers slowly must not see its button given back
    // twice. Popping frees nothing, so this also runs inside the crash guard.
    while (!takenOff_.empty()) {
        HWND window = takenOff_.back();
        takenOff_.pop_back();
        if (list_ && IsWindow(window)) list_->AddTab(window);
    }
}

void Channel::giveAllBackForGood() noexcept {
    stopped_ = true;
    giveAllBack();
    SetEvent(allGivenBack_.get());
}

void Channel::askAllBackForGood(HANDLE worker) const noexcept {
    SetEvent(giveAllNow_.get());
    // A worker that has ended has nothing left to give back.
    const HANDLE ends[] = {allGivenBack_.get(), worker};
    WaitForMultipleObjects(2, ends, FALSE, kShellWaitMs);
}

// The bar's thread's: one bar per process.
bool g_comStarted = false;
std::shared_ptr<Channel> g_channel;
std::unique_ptr<win::WorkerThread> g_worker;
DWORD g_workerId = 0;

// The thread comes with the first button taken off: with a taskbar of tab controls most runs never need it.
bool startWorker() {
    if (g_channel) return true;
    auto channel = std::make_shared<Channel>();
    // The thread shares the channel: when the bar stops waiting for it, it keeps what it still uses.
    auto worker = std::make_unique<win::WorkerThread>([channel] { channel->run(); });
    if (!channel->ready() || !worker->create()) return false;
    g_workerId = GetThreadId(worker->handle());
    g_channel = std::move(channel);
    g_worker = std::move(worker);
    if (g_worker->start()) return true;
    g_worker.reset();
    g_channel.reset();
    g_workerId = 0;
    return false;
}

void post(Ask ask, HWND window) {
    if (g_channel) g_channel->post({ask, window});
}
} // namespace

void startTaskbarList() {
    // For the shell's own calls on the bar's thread (opening a browser, an address).
    if (!g_comStarted) g_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

void endTaskbarList() {
    if (g_channel) {
        post(Ask::End, nullptr);
        // A shell that does not answer holds up the worker alone: it is let go and ends with the process.
        g_worker->wait(kShellWaitMs);
    }
    g_workerId = 0;
    g_worker.reset();
    g_channel.reset();
    if (g_comStarted) CoUninitialize();
    g_comStarted = false;
}

void takeButtonOff(HWND window) {
    if (startWorker()) post(Ask::TakeOff, window);
}

void giveButtonBack(HWND window) {
    post(Ask::GiveBack, window);
}

void renewTaskbarList() {
    post(Ask::Renew, nullptr);
}

void giveAllButtonsBackForGood() noexcept {
    Channel* channel = g_channel.get();
    if (!channel) return;
    // The worker itself faulted: the object is its own to use, and nobody else would answer.
    if (GetCurrentThreadId() == g_workerId) {
        channel->giveAllBackForGood();
        return;
    }
    channel->askAllBackForGood(g_worker->handle());
}

} // namespace app
