// Dialogs from templates in the resources, bound to a C++ object at WM_INITDIALOG.
#pragma once
#include <windows.h>

namespace win {

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND hwnd() const noexcept { return hwnd_; }

    // Modal: returns what EndDialog was given, or -1 when the dialog could not be made.
    INT_PTR runModal(HINSTANCE instance, int templateId, HWND parent);
    // Modeless, or a child page: returns the dialog window or null.
    HWND createModeless(HINSTANCE instance, int templateId, HWND parent);

    static Dialog* fromHandle(HWND hwnd);

protected:
    // Returns TRUE when the message was handled, as a dialog procedure does.
    virtual INT_PTR dialogProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Runs once after WM_NCDESTROY, when the object is no longer bound to the window.
    virtual void onFinalMessage() {}

private:
    static INT_PTR CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

} // namespace win
