// Move-only ownership of one Win32 handle; the traits say what "none" is and how to let it go.
#pragma once
#include <utility>
#include <windows.h>

namespace win {

template <class Traits> class Handle {
  public:
    using type = typename Traits::type;

    Handle() noexcept = default;
    explicit Handle(type h) noexcept : h_(h) {}
    Handle(Handle&& other) noexcept : h_(other.release()) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { reset(); }

    type get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::none(); }
    type release() noexcept { return std::exchange(h_, Traits::none()); }
    void reset(type h = Traits::none()) noexcept {
        type old = std::exchange(h_, h);
        if (old != Traits::none()) Traits::close(old);
    }
    // For the Win32 calls that hand a handle back through a pointer.
    type* out() noexcept {
        reset();
        return &h_;
    }

  private:
    type h_ = Traits::none();
};

template <class T, BOOL(WINAPI* Close)(T)> struct WinapiTraits {
    using type = T;
    static constexpr T none() { return nullptr; }
    static void close(T h) { Close(h); }
};

struct RegKeyTraits {
    using type = HKEY;
    static constexpr HKEY none() { return nullptr; }
    static void close(HKEY h) { RegCloseKey(h); }
};

struct KernelTraits {
    using type = HANDLE;
    static HANDLE none() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};

struct GdiTraits {
    using type = HGDIOBJ;
    static constexpr HGDIOBJ none() { return nullptr; }
    static void close(HGDIOBJ h) { DeleteObject(h); }
};

template <class T> struct TypedGdiTraits {
    using type = T;
    static constexpr T none() { return nullptr; }
    static void close(T h) { DeleteObject(h); }
};

using RegKey = Handle<RegKeyTraits>;
using Module = Handle<WinapiTraits<HMODULE, FreeLibrary>>;
using Hook = Handle<WinapiTraits<HHOOK, UnhookWindowsHookEx>>;
// Only the thread that set the hook can remove it.
using WinEventHook = Handle<WinapiTraits<HWINEVENTHOOK, UnhookWinEvent>>;
using Icon = Handle<WinapiTraits<HICON, DestroyIcon>>;
using Menu = Handle<WinapiTraits<HMENU, DestroyMenu>>;
using KernelHandle = Handle<KernelTraits>;
using Font = Handle<TypedGdiTraits<HFONT>>;
using Bitmap = Handle<TypedGdiTraits<HBITMAP>>;
using Brush = Handle<TypedGdiTraits<HBRUSH>>;
using Pen = Handle<TypedGdiTraits<HPEN>>;
using Palette = Handle<TypedGdiTraits<HPALETTE>>;
using Region = Handle<TypedGdiTraits<HRGN>>;
using GdiObject = Handle<GdiTraits>;

// Selects an object into a DC for the scope and puts the previous one back.
class SelectObjectScope {
  public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectObjectScope() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace win
