#include "win/dialog.h"

#include "win/text.h"
#include "win/ui_text.h"
#include "win/window.h"

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
    const DLGTEMPLATE* found = uiDialogTemplate(instance, templateId);
    if (!found) return -1;
    return DialogBoxIndirectParamW(instance, found, parent, staticProc, reinterpret_cast<LPARAM>(this));
}

HWND Dialog::createModeless(HINSTANCE instance, int templateId, HWND parent) {
    const DLGTEMPLATE* found = uiDialogTemplate(instance, templateId);
    if (!found) return nullptr;
    return CreateDialogIndirectParamW(instance, found, parent, staticProc, reinterpret_cast<LPARAM>(this));
}

Dialog* Dialog::fromHandle(HWND hwnd) {
    if (!hwnd || !GetPropA(hwnd, kDialogProp)) return nullptr;
    return reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
}

INT_PTR Dialog::dialogProc(UINT msg, WPARAM, LPARAM) {
    // Lets the system give the focus to the first control that takes it.
    return msg == WM_INITDIALOG;
}

bool Dialog::onCommand(UINT, int, HWND) {
    return false;
}

bool Dialog::onNotify(const NMHDR&, LRESULT&) {
    return false;
}

INT_PTR Dialog::answer(LRESULT result) const {
    SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
}

bool Dialog::checked(int id) const {
    return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
}

void Dialog::setChecked(int id, bool checked) const {
    CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

std::string Dialog::text(int id) const {
    HWND control = item(id);
    return control ? windowText(control) : std::string();
}

bool Dialog::setText(int id, std::string_view utf8) const {
    HWND control = item(id);
    return control && setWindowText(control, utf8);
}

// The dialog manager makes the template's font with the default character set, which in a system of another
// language can pick a face without the interface language's characters (Wine does): the font is made again
// with the language's own set, for the dialog and every control, before the dialog's own set-up runs.
void Dialog::applyLanguageFont() {
    const BYTE charset = uiCharset();
    if (charset == DEFAULT_CHARSET) return;
    auto current = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    LOGFONTW font{};
    if (!current || !GetObjectW(current, sizeof(font), &font) || font.lfCharSet == charset) return;
    font.lfCharSet = charset;
    languageFont_.reset(CreateFontIndirectW(&font));
    if (!languageFont_) return;
    const auto wParam = reinterpret_cast<WPARAM>(languageFont_.get());
    SendMessageW(hwnd_, WM_SETFONT, wParam, FALSE);
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, wParam, FALSE);
}

INT_PTR Dialog::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) applyLanguageFont();
    LRESULT result = 0;
    if (Window::reflect(hwnd_, msg, wParam, lParam, result)) return answer(result);
    if (msg == WM_COMMAND && onCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam)))
        return answer(0);
    if (msg == WM_NOTIFY && onNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return answer(result);
    return dialogProc(msg, wParam, lParam);
}

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
    if (!self || !trustedParameters(msg, lParam)) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->handle(msg, wParam, lParam);
    } catch (...) {
        reportStoppedException(hwnd);
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
