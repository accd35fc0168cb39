// Dialogs from templates in the resources, bound to a C++ object at WM_INITDIALOG.
#pragma once
#include <windows.h>

#include "win/handle.h"

#include <string>
#include <string_view>

namespace win {

class Dialog {
  public:
    Dialog() = default;
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND hwnd() const noexcept { return hwnd_; }

    // From the template in the chosen interface language (win/ui_text.h).
    // Modal: returns what EndDialog was given, or -1 when the dialog could not be made.
    INT_PTR runModal(HINSTANCE instance, int templateId, HWND parent);
    // Modeless, or a child page: returns the dialog window or null.
    HWND createModeless(HINSTANCE instance, int templateId, HWND parent);

    static Dialog* fromHandle(HWND hwnd);

  protected:
    // Returns TRUE when the message was handled, as a dialog procedure does. WM_COMMAND and WM_NOTIFY come
    // here only when onCommand() or onNotify() left them, and a child control's own object before that.
    virtual INT_PTR dialogProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND, taken apart: the notification code (0 for menus, 1 for accelerators), the control's or
    // item's id, and the control (null for menus and accelerators). True when handled.
    virtual bool onCommand(UINT code, int id, HWND control);
    // WM_NOTIFY: true when handled, with the answer for the control in result.
    virtual bool onNotify(const NMHDR& header, LRESULT& result);
    // Runs once after WM_NCDESTROY, when the object is no longer bound to the window.
    virtual void onFinalMessage() {}

    // For a message whose sender reads an answer: hands the answer over and reports the message handled.
    INT_PTR answer(LRESULT result) const;

    HWND item(int id) const { return GetDlgItem(hwnd_, id); }
    bool checked(int id) const;
    void setChecked(int id, bool checked) const;
    // A control's text as UTF-8, through the wide calls, so characters outside the ANSI code page survive.
    std::string text(int id) const;
    bool setText(int id, std::string_view utf8) const;

  private:
    static INT_PTR CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void applyLanguageFont();

    HWND hwnd_ = nullptr;
    // The template's font made again with the interface language's character set, where it needs one.
    Font languageFont_;
};

} // namespace win
