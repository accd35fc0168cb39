// The message dialog on real windows: what it shows, where its buttons stand, what a button opens.
// The shell's opener is replaced, so nothing outside the test ever starts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "kit/bar.h"
#include "kit/message_server.h"
#include "message/message_dialog.h"
#include "message/message_fetch.h"
#include "resources/resource.h"

namespace {

using Calls = std::vector<std::string>;
Calls g_shellCalls;

// Each call as "verb file", followed by whatever is unlike a plain opening of an address.
HINSTANCE WINAPI recordShellExecute(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                    LPCWSTR directory, INT show) {
    std::string call =
        (verb ? e2e::utf8Of(verb) : "(no verb)") + " " + (file ? e2e::utf8Of(file) : "(no file)");
    if (window) call += " with an owner";
    if (parameters) call += " with parameters";
    if (directory) call += " in a directory";
    if (show != SW_SHOW) call += " shown as " + std::to_string(show);
    g_shellCalls.push_back(call);
    return reinterpret_cast<HINSTANCE>(42);
}

struct Seen {
    int dialogs = 0;
    std::string text, header;
    std::vector<std::string> captions;
    std::vector<int> ids;
    std::vector<RECT> buttons; // client coordinates of the dialog
    std::vector<bool> sunken;
    RECT frame{}, window{}; // the frame in client coordinates of the dialog, the window on the screen
    LONG style = 0, exStyle = 0;
};

void inspect(HWND dialog, Seen& seen) {
    ++seen.dialogs;
    seen.text = msgtest::textOf(GetDlgItem(dialog, IDC_MESSAGE_TEXT));
    seen.header = msgtest::textOf(GetWindow(dialog, GW_CHILD));
    seen.frame = msgtest::clientRect(dialog, GetDlgItem(dialog, IDC_MESSAGE_FRAME));
    GetWindowRect(dialog, &seen.window);
    seen.style = GetWindowLongA(dialog, GWL_STYLE);
    seen.exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
    for (int id = IDC_MESSAGE_BUTTON1; id <= IDC_MESSAGE_BUTTON4; ++id) {
        HWND button = GetDlgItem(dialog, id);
        if (!button) continue;
        seen.ids.push_back(id);
        seen.captions.push_back(msgtest::textOf(button));
        seen.buttons.push_back(msgtest::clientRect(dialog, button));
        seen.sunken.push_back((GetWindowLongA(button, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
    }
}

class MessageDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { g_shellCalls.clear(); }

    // Shows the answer as the bar would, inspects the dialog from another thread and lets act close it.
    LRESULT show(const std::string& body, const std::function<void(HWND)>& act, LPARAM mode = 2) {
        msgtest::DialogWatchdog watchdog([&](HWND dialog) {
            inspect(dialog, seen);
            act(dialog);
        });
        message::ReplyRegistry registry;
        const WPARAM key = registry.issue({body, static_cast<int>(mode)});
        const LRESULT result = message::handleHttpReply(nullptr, GetModuleHandleA(nullptr), nullptr, registry,
                                                        key, recordShellExecute);
        EXPECT_TRUE(msgtest::processDialogs().empty());
        return result;
    }

    Seen seen;
};

std::function<void(HWND)> press(int id) {
    return [id](HWND d) { PostMessageA(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}
std::function<void(HWND)> pressKey(WPARAM key) {
    return [key](HWND d) { PostMessageA(d, WM_KEYDOWN, key, 0); };
}

const char* kFourButtons = "dialogtext=\"New\" version\n"
                           "button1text=Download\nbutton1action=http://a.example/get\n"
                           "button2text=Mirror\nbutton2action=ftp://f.example/pub\n"
                           "button3text=Secure\nbutton3action=https://s.example/\n"
                           "button4text=Later\nbutton4action=\n";

TEST_F(MessageDialogTest, ShowsTheTextAndFourButtonsStackedUnderTheFrame) {
    EXPECT_EQ(show(kFourButtons, press(IDC_MESSAGE_BUTTON4)), 0);
    ASSERT_EQ(seen.dialogs, 1);
    EXPECT_EQ(seen.header, "  >> Corvane! message <<");
    EXPECT_EQ(seen.text, "New version");
    EXPECT_EQ(seen.captions, (std::vector<std::string>{"Download", "Mirror", "Secure", "Later"}));
    ASSERT_EQ(seen.buttons.size(), 4u);
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(seen.buttons[k].left, 1);
        EXPECT_EQ(seen.buttons[k].right, seen.frame.right);
        EXPECT_EQ(seen.buttons[k].top, seen.frame.bottom + 4 + 28 * static_cast<LONG>(k));
        EXPECT_EQ(seen.buttons[k].bottom - seen.buttons[k].top, 24);
        EXPECT_TRUE(seen.sunken[k]);
    }
    EXPECT_EQ(seen.window.bottom - seen.window.top, seen.frame.bottom + 4 * 28 + 8);
    // Captionless, top-most, and as wide as its template made it.
    EXPECT_EQ(seen.style & WS_CAPTION, 0);
    EXPECT_NE(seen.exStyle & WS_EX_TOPMOST, 0);
    EXPECT_GT(seen.frame.right, 100);
    // Button 4 has no action: the dialog closes and nothing is opened.
    EXPECT_TRUE(g_shellCalls.empty());
}

TEST_F(MessageDialogTest, AnUtf8AnswerAndAnOlderServersAnsiAnswerBothShowTheirText) {
    std::wstring shown;
    auto readAndClose = [&](HWND d) {
        wchar_t text[64] = {};
        GetWindowTextW(GetDlgItem(d, IDC_MESSAGE_TEXT), text, 64);
        shown = text;
        press(IDC_MESSAGE_BUTTON1)(d);
    };
    show("dialogtext=\xd0\x9d\xd0\xbe\xd0\xb2\xd0\xbe\xd1\x81\xd1\x82\xd0\xb8 "
         "\xe6\x97\xa5\xe6\x9c\xac\n",
         readAndClose);
    EXPECT_EQ(shown, L"\u041d\u043e\u0432\u043e\u0441\u0442\u0438 \u65e5\u672c");
    // Not valid UTF-8: the ANSI code page (Windows-1252 here).
    show("dialogtext=Caf\xe9\n", readAndClose);
    EXPECT_EQ(shown, L"Caf\u00e9");
}

TEST_F(MessageDialogTest, AButtonOpensItsAddressThroughTheShellAndCloses) {
    const char* opened[] = {"http://a.example/get", "ftp://f.example/pub", "https://s.example/"};
    for (int i = 0; i < 3; ++i) {
        g_shellCalls.clear();
        show(kFourButtons,
             [&](HWND d) { SendMessageA(GetDlgItem(d, IDC_MESSAGE_BUTTON1 + i), BM_CLICK, 0, 0); });
        EXPECT_EQ(g_shellCalls, Calls{std::string("open ") + opened[i]});
    }
    // Characters outside the ANSI code page reach the shell as they were sent.
    g_shellCalls.clear();
    const std::string address = "http://b.example/\xd0\x9d\xd0\xbe\xe6\x97\xa5";
    show("dialogtext=x\nbutton1text=Go\nbutton1action=" + address + "\n", press(IDC_MESSAGE_BUTTON1));
    EXPECT_EQ(g_shellCalls, Calls{"open " + address});
}

TEST_F(MessageDialogTest, EscapeAndEnterActAsButtonOne) {
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        g_shellCalls.clear();
        show("dialogtext=Hi\nbutton1text=Go\nbutton1action=http://a.example/\n", pressKey(key));
        EXPECT_EQ(seen.captions.back(), "Go");
        EXPECT_EQ(g_shellCalls, Calls{"open http://a.example/"}) << key;
    }
    // Without any button the keys only close the dialog.
    seen = Seen{};
    g_shellCalls.clear();
    show("dialogtext=Just news\n", pressKey(VK_ESCAPE));
    EXPECT_EQ(seen.text, "Just news");
    EXPECT_TRUE(seen.ids.empty());
    EXPECT_EQ(seen.window.bottom - seen.window.top, seen.frame.bottom + 8);
    EXPECT_TRUE(g_shellCalls.empty());
}

TEST_F(MessageDialogTest, ActionsThatAreNotPlainAddressesOpenNothing) {
    show("dialogtext=x\nbutton1text=Run\nbutton1action=c:\\x.exe http://a.example/\n",
         press(IDC_MESSAGE_BUTTON1));
    show("dialogtext=x\nbutton1text=Run\nbutton1action=file:///c:/windows/notepad.exe\n",
         press(IDC_MESSAGE_BUTTON1));
    EXPECT_EQ(seen.dialogs, 2);
    EXPECT_TRUE(g_shellCalls.empty());
}

TEST_F(MessageDialogTest, ButtonsDefinedWithGapsStayInsideTheDialog) {
    show("dialogtext=x\nbutton3text=Three\nbutton3action=http://a.example/3\n", press(IDC_MESSAGE_BUTTON3));
    ASSERT_EQ(seen.ids, std::vector<int>{IDC_MESSAGE_BUTTON3});
    EXPECT_EQ(seen.buttons[0].top, seen.frame.bottom + 4);
    EXPECT_EQ(seen.window.bottom - seen.window.top, seen.frame.bottom + 28 + 8);
    EXPECT_EQ(g_shellCalls, Calls{"open http://a.example/3"});
}

TEST_F(MessageDialogTest, FlagOneOtherModesAndAMissingLineFeedShowNothingOrNoText) {
    EXPECT_EQ(show("dialogtext=x\nflag=1\n", pressKey(VK_ESCAPE)), 0);
    EXPECT_EQ(show("dialogtext=x\n", pressKey(VK_ESCAPE), 1), 0);
    EXPECT_EQ(seen.dialogs, 0);
    show("button1text=B\ndialogtext=no line feed", pressKey(VK_ESCAPE));
    EXPECT_EQ(seen.dialogs, 1);
    EXPECT_EQ(seen.text, "");
}

} // namespace
