#include "win/window.h"

#include <commctrl.h>

#include <exception>
#include <string>

#include "win/system_library.h"
#include "win/text.h"

namespace win {

namespace {
constexpr UINT_PTR kSubclassId = 0x43564E;
// Subclassed controls keep their own GWLP_USERDATA; the object is found through this property instead.
constexpr const char* kSubclassProp = "CorvaneWindow";

// Handlers of this layer running on the thread, and the objects whose final message waits for them all to
// return, oldest first.
thread_local int t_dispatchDepth = 0;
thread_local Window* t_firstDue = nullptr;

// The size of the structure lParam points at, for the messages whose lParam is one; 0 for the others.
size_t pointedSize(UINT msg) {
    switch (msg) {
    case WM_NOTIFY:
        return sizeof(NMHDR);
    case WM_DRAWITEM:
        return sizeof(DRAWITEMSTRUCT);
    case WM_MEASUREITEM:
        return sizeof(MEASUREITEMSTRUCT);
    case WM_DELETEITEM:
        return sizeof(DELETEITEMSTRUCT);
    case WM_COMPAREITEM:
        return sizeof(COMPAREITEMSTRUCT);
    case WM_DPICHANGED:
        return sizeof(RECT);
    case WM_GETMINMAXINFO:
        return sizeof(MINMAXINFO);
    case WM_HELP:
        return sizeof(HELPINFO);
    case WM_NCCREATE:
    case WM_CREATE:
        return sizeof(CREATESTRUCTW);
    default:
        return 0;
    }
}

bool onThisStack(LPARAM lParam, size_t size) {
    // The stack is one reservation: the structure must lie in it, in pages that are committed for writing.
    int here = 0;
    MEMORY_BASIC_INFORMATION stack{}, at{};
    if (!VirtualQuery(&here, &stack, sizeof(stack)) ||
        !VirtualQuery(reinterpret_cast<const void*>(lParam), &at, sizeof(at)))
        return false;
    const auto end = reinterpret_cast<ULONG_PTR>(at.BaseAddress) + at.RegionSize;
    return at.AllocationBase == stack.AllocationBase && at.State == MEM_COMMIT &&
           at.Protect == PAGE_READWRITE && size <= end - static_cast<ULONG_PTR>(lParam);
}

// The control a notification to its parent is about; null for menus and accelerators.
HWND notifier(UINT msg, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lParam);
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header ? header->hwndFrom : nullptr;
    }
    default:
        return nullptr;
    }
}
} // namespace

bool carriesStructure(UINT msg) noexcept {
    return pointedSize(msg) != 0;
}

bool trustedParameters(UINT msg, LPARAM lParam) noexcept {
    const size_t size = pointedSize(msg);
    if (size == 0 || (InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_NOTIFY | ISMEX_CALLBACK)) == 0)
        return true;
    return onThisStack(lParam, size);
}

void reportStoppedException(HWND window) noexcept {
    try {
        std::wstring what = L"unknown exception";
        try {
            throw;
        } catch (const std::exception& e) {
            what = widen(e.what());
        } catch (...) {
        }
        wchar_t className[256] = L"?";
        GetClassNameW(window, className, 256);
        const std::wstring line = L"Corvane!: exception stopped at a window procedure (class " +
                                  std::wstring(className) + L"): " + what + L"\n";
        OutputDebugStringW(line.c_str());
    } catch (...) {
        // Out of memory for the report: the exception is swallowed unreported rather than let through.
    }
}

Window::~Window() {
    // Deleted by someone else's final message while its own waited: it must not run on freed memory.
    dropFromDue();
    // An object that dies before its window must not leave the window pointing at freed memory.
    if (hwnd_) {
        if (subclassed_) {
            removeWindowSubclass(hwnd_, subclassProc, kSubclassId);
            RemovePropA(hwnd_, kSubclassProp);
        } else {
            SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        }
    }
}

ATOM Window::registerClass(HINSTANCE instance, const char* className, UINT style, HCURSOR cursor,
                           HBRUSH background, HICON icon) {
    // Wide classes make Unicode windows: their text and their controls' notifications keep every character.
    const std::wstring name = widen(className);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = staticProc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.lpszClassName = name.c_str();
    ATOM atom = RegisterClassExW(&wc);
    if (!atom && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return 1;
    return atom;
}

bool Window::create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance) {
    HWND h = CreateWindowExW(exStyle, widen(className).c_str(), title ? widen(title).c_str() : nullptr, style,
                             x, y, width, height, parent, menuOrId, instance, this);
    if (!h && !everBound_) finalDue();
    return h != nullptr;
}

bool Window::subclass(HWND hwnd) {
    if (!hwnd || hwnd_) return false;
    if (!setWindowSubclass(hwnd, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
    SetPropA(hwnd, kSubclassProp, this);
    hwnd_ = hwnd;
    subclassed_ = true;
    everBound_ = true;
    return true;
}

Window* Window::fromHandle(HWND hwnd) {
    if (HANDLE bound = GetPropA(hwnd, kSubclassProp)) return static_cast<Window*>(bound);
    // The wide read: the narrow one answers a Unicode window with a conversion thunk, never the procedure.
    WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (proc != staticProc) return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool Window::reflect(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = notifier(msg, lParam);
    // Only a child of this thread: a handle from elsewhere could name another process's object.
    if (!child || child == parent || GetAncestor(child, GA_PARENT) != parent ||
        GetWindowThreadProcessId(child, nullptr) != GetCurrentThreadId())
        return false;
    Window* object = fromHandle(child);
    if (!object) return false;
    // Counted as a handler of the control, as its own messages are: should the control be destroyed in
    // there, its final message waits until the handler has returned.
    struct Running {
        Running() noexcept { ++t_dispatchDepth; }
        ~Running() {
            if (--t_dispatchDepth == 0) runDueFinals();
        }
    } running;
    return object->reflectedMessage(msg, wParam, lParam, result);
}

LRESULT Window::windowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return defaultProc(msg, wParam, lParam);
}

bool Window::reflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT Window::defaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (subclassed_) return defSubclassProc(hwnd_, msg, wParam, lParam);
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT Window::dispatch(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    LRESULT result = 0;
    ++t_dispatchDepth;
    try {
        // A structure another program made up is not read; the message counts as handled.
        if (trustedParameters(msg, lParam) && !reflect(hwnd_, msg, wParam, lParam, result))
            result = windowProc(msg, wParam, lParam);
    } catch (...) {
        reportStoppedException(hwnd_);
        // Nothing may unwind into the system's code; the message counts as handled with its default. A
        // creation that failed half-way fails as a whole rather than leaving a half-made window.
        result = (msg == WM_CREATE) ? -1 : 0;
    }
    --t_dispatchDepth;
    // Only the outermost handler may touch its object after the call: an inner one may have deleted it.
    if (msg == WM_NCDESTROY) {
        unbind();
        finalDue();
    } else if (t_dispatchDepth == 0) {
        runDueFinals();
    }
    return result;
}

void Window::finalDue() noexcept {
    if (finalDue_) return;
    finalDue_ = true;
    Window** tail = &t_firstDue;
    while (*tail)
        tail = &(*tail)->nextDue_;
    *tail = this;
    if (t_dispatchDepth == 0) runDueFinals();
}

void Window::runDueFinals() noexcept {
    while (Window* next = t_firstDue) {
        t_firstDue = next->nextDue_;
        next->nextDue_ = nullptr;
        next->finalDue_ = false;
        // May delete that object, and others of the list with it (they leave the list as they go).
        next->onFinalMessage();
    }
}

void Window::dropFromDue() noexcept {
    if (!finalDue_) return;
    for (Window** link = &t_firstDue; *link; link = &(*link)->nextDue_) {
        if (*link == this) {
            *link = nextDue_;
            break;
        }
    }
    finalDue_ = false;
}

void Window::unbind() noexcept {
    if (subclassed_) {
        removeWindowSubclass(hwnd_, subclassProc, kSubclassId);
        RemovePropA(hwnd_, kSubclassProp);
        subclassed_ = false;
    } else {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    }
    hwnd_ = nullptr;
}

LRESULT CALLBACK Window::staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self && msg == WM_NCCREATE && trustedParameters(msg, lParam)) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            self->everBound_ = true;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->dispatch(msg, wParam, lParam);
}

LRESULT CALLBACK Window::subclassProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR refData) {
    return reinterpret_cast<Window*>(refData)->dispatch(msg, wParam, lParam);
}

} // namespace win
