#include "win/dialog.h"

namespace win {

namespace {
// Distinguishes our dialogs from others when looking a window's object up.
constexpr const char* kDialogProp = "CorvaneDialog";
} // namespace

Dialog::~Dialog() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        RemovePropA(hwnd_, kDialogProp);
    }
}

INT_PTR Dialog::runModal(HINSTANCE instance, int templateId, HWND parent) {
    // Wide dialogs make Unicode controls, whose text keeps characters outside the ANSI code page.
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), parent, staticProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND Dialog::createModeless(HINSTANCE instance, int templateId, HWND parent) {
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), parent, staticProc,
                              reinterpret_cast<LPARAM>(this));
}

Dialog* Dialog::fromHandle(HWND hwnd) {
    if (!hwnd || !GetPropA(hwnd, kDialogProp)) return nullptr;
    return reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
}

INT_PTR Dialog::dialogProc(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CALLBACK Dialog::staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        if (self) {
            self->hwnd_ = hwnd;
            SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
            SetPropA(hwnd, kDialogProp, reinterpret_cast<HANDLE>(1));
        }
    }
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->dialogProc(msg, wParam, lParam);
    } catch (...) {
        result = FALSE;
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        RemovePropA(hwnd, kDialogProp);
        self->hwnd_ = nullptr;
        self->onFinalMessage();
    }
    return result;
}

} // namespace win
