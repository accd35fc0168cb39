// The server's message: its text in a frame and up to four buttons that open web or FTP addresses.
#pragma once
#include <windows.h>

#include <shellapi.h>

#include <array>
#include <string>

#include "core/message_answer.h"
#include "message/reply_relay.h"
#include "win/dialog.h"

namespace message {

// The shell's opener, as ShellExecuteW takes its arguments; tests hand in their own.
using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);

class MessageDialog : public win::Dialog {
  public:
    MessageDialog(std::string message, HFONT font, ShellExecuteFn shellExecute = ShellExecuteW);

    // Runs the dialog from template IDD_MESSAGE over owner; returns when it is closed.
    INT_PTR run(HINSTANCE instance, HWND owner);

    std::string m_strMessage;
    std::array<std::string, core::kMessageButtons> m_strButtonText;
    std::array<std::string, core::kMessageButtons> m_strButtonAction;

  protected:
    INT_PTR dialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool onCommand(UINT code, int id, HWND control) override;

  private:
    BOOL OnInitDialog();
    void addButton(const core::ButtonPlacement& place);

    HFONT font_;
    ShellExecuteFn shellExecute_;
};

// The bar's answer to a fetched body: shows the message for mode 2 unless the body says "flag=1". Touches
// nothing of the bar, which may be gone when the dialog closes.
void showReply(HWND bar, HINSTANCE instance, HFONT dialogFont, const Reply& reply,
               ShellExecuteFn shellExecute = ShellExecuteW);

// Message 1028 at the bar: wParam must be a reply the bar's own registry issued and has not given out
// yet; any other message is ignored. Always 0.
LRESULT handleHttpReply(HWND bar, HINSTANCE instance, HFONT dialogFont, ReplyRegistry& replies, WPARAM wParam,
                        ShellExecuteFn shellExecute = ShellExecuteW);

} // namespace message
