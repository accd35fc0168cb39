#include "message/message_dialog.h"

#include <shellapi.h>

#include "message/message_fetch.h"
#include "resources/resource.h"
#include "win/dpi.h"
#include "win/text.h"

namespace message {

namespace {

// Enter and Esc, like any id but those of buttons 2 to 4, count as button 1.
int buttonForCommand(int id) {
    switch (id) {
    case IDC_MESSAGE_BUTTON2:
        return 1;
    case IDC_MESSAGE_BUTTON3:
        return 2;
    case IDC_MESSAGE_BUTTON4:
        return 3;
    default:
        return 0;
    }
}

} // namespace

MessageDialog::MessageDialog(std::string message, HFONT font, ShellExecuteFn shellExecute)
    : m_strMessage(std::move(message)), font_(font), shellExecute_(shellExecute) {}

INT_PTR MessageDialog::run(HINSTANCE instance, HWND owner) {
    return runModal(instance, IDD_MESSAGE, owner);
}

INT_PTR MessageDialog::dialogProc(UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG ? OnInitDialog() : FALSE;
}

BOOL MessageDialog::OnInitDialog() {
    if (font_) SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    RECT window{};
    GetWindowRect(hwnd(), &window);
    RECT frame{};
    GetWindowRect(item(IDC_MESSAGE_FRAME), &frame);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&frame), 2);

    const core::MessageAnswer answer = core::parseMessageAnswer(m_strMessage);
    if (!answer.text.empty()) setText(IDC_MESSAGE_TEXT, answer.text);
    m_strButtonText = answer.buttonText;
    m_strButtonAction = answer.buttonAction;

    const core::MessageButtonLayout layout =
        core::layoutMessageButtons(answer, frame.bottom, frame.right, win::windowDpi(hwnd()));
    for (const core::ButtonPlacement& place : layout.buttons)
        addButton(place);
    SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left, layout.windowHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

void MessageDialog::addButton(const core::ButtonPlacement& place) {
    const auto id = static_cast<INT_PTR>(IDC_MESSAGE_BUTTON1 + place.index);
    HWND button = CreateWindowExW(
        0, L"BUTTON", win::widen(m_strButtonText[place.index]).c_str(), WS_CHILD | WS_VISIBLE, place.left,
        place.top, place.right - place.left, place.bottom - place.top, hwnd(), reinterpret_cast<HMENU>(id),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd(), GWLP_HINSTANCE)), nullptr);
    if (!button) return;
    if (font_) SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    SetWindowLongPtrA(button, GWL_EXSTYLE, GetWindowLongPtrA(button, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowPos(button, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool MessageDialog::onCommand(UINT code, int id, HWND) {
    if (code != 0) return false;
    const std::string address = core::openableAddress(m_strButtonAction[buttonForCommand(id)]);
    if (!address.empty() && shellExecute_) {
        // The address is UTF-8: the wide call keeps every character of it.
        shellExecute_(nullptr, L"open", win::widen(address).c_str(), nullptr, nullptr, SW_SHOW);
    }
    EndDialog(hwnd(), IDOK);
    return true;
}

void showReply(HWND bar, HINSTANCE instance, HFONT dialogFont, const Reply& reply,
               ShellExecuteFn shellExecute) {
    if (reply.mode != HTTP_MODE_MESSAGE) return;
    // Read as UTF-8 when it is valid UTF-8, else in the ANSI code page that older servers wrote in.
    std::string body = win::serverText(reply.body);
    if (core::answerShowsNothing(body)) return;
    MessageDialog dialog(std::move(body), dialogFont, shellExecute);
    dialog.run(instance, bar);
}

LRESULT handleHttpReply(HWND bar, HINSTANCE instance, HFONT dialogFont, ReplyRegistry& replies, WPARAM wParam,
                        ShellExecuteFn shellExecute) {
    if (std::unique_ptr<Reply> reply = replies.take(wParam))
        showReply(bar, instance, dialogFont, *reply, shellExecute);
    return 0;
}

} // namespace message
