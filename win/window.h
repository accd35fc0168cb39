// The project's thin window layer: one C++ object per window, bound at WM_NCCREATE (or when an existing
// control is subclassed) and released after WM_NCDESTROY. Subclasses override windowProc() with a switch
// that hands each message to one handler.
#pragma once
#include <windows.h>

namespace win {

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const noexcept { return hwnd_; }

    // Registers a class whose procedure routes to Window objects. Returns the atom, or 0 on failure
    // (an already registered class counts as success and returns 1).
    static ATOM registerClass(HINSTANCE instance, const char* className, UINT style, HCURSOR cursor,
                              HBRUSH background, HICON icon);

    // Creates a window of a class registered with registerClass(), bound to this object. When the creation
    // fails before the window could be bound, the final message comes from here, so a self-owning object is
    // released however far its creation got.
    bool create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menuOrId, HINSTANCE instance);

    // Binds this object to an existing window (a standard control) by subclassing it.
    bool subclass(HWND hwnd);

    // The object bound to a window by this layer, or null.
    static Window* fromHandle(HWND hwnd);

    // Offers a notification that parent received (WM_COMMAND, WM_DRAWITEM, WM_NOTIFY) to the object of the
    // child it came from. True when that object handled it; result is then the answer for the sender.
    static bool reflect(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  protected:
    // One switch per window class; anything not handled goes to defaultProc().
    virtual LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // A notification about this window that reached its parent: a control draws and handles itself, the
    // parent sees only what is left. Return true when handled, with the answer in result.
    virtual bool reflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Runs once, after the window is gone and the object unbound. A self-owning window deletes itself here.
    // While any handler of this layer is running on the thread (a close dispatched by a menu's or a dialog's
    // loop inside a handler), it waits until the outermost one has returned: an object often holds others
    // (a bar and its buttons), and no handler may be left running on a deleted object, its own or a member's.
    virtual void onFinalMessage() {}

  private:
    static LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
    LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void unbind() noexcept;
    // Queues the final message for when no handler of this layer runs on the thread, or runs it now.
    void finalDue() noexcept;
    static void runDueFinals() noexcept;
    void dropFromDue() noexcept;

    HWND hwnd_ = nullptr;
    bool subclassed_ = false;
    bool everBound_ = false;
    bool finalDue_ = false;
    Window* nextDue_ = nullptr;
};

// Whether a message's lParam points at a structure (notifications, owner drawing, creation, sizing, help, a
// DPI change). The system only ever sends these: a posted one comes from another program.
bool carriesStructure(UINT msg) noexcept;

// Whether a message's parameters may be acted on. One sent on this thread is; one that arrives while the
// thread handles another thread's message (sent by that thread or, nested, by the thread itself) is trusted
// only when its structure lies on this thread's stack: the system and the thread's own controls always build
// it there, while a pointer another program sends points anywhere else.
bool trustedParameters(UINT msg, LPARAM lParam) noexcept;

// Called inside the catch at a window procedure's boundary: writes what was thrown, and at which class of
// window, to the debugger's output before the exception is swallowed.
void reportStoppedException(HWND window) noexcept;

} // namespace win
