// The message dialog on real windows: what it shows, where its buttons stand, what a button opens.
// The shell's opener is replaced, so nothing outside the test ever starts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "message/message_dialog.h"
#include "message/message_fetch.h"
#include "message_server_support.h"
#include "resources/resource.h"

namespace {

struct ShellCall {
    HWND window;
    std::string verb, file;
    bool noParameters, noDirectory;
    INT show;
};

std::vector<ShellCall> g_shellCalls;

HINSTANCE WINAPI recordShellExecute(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                    LPCSTR directory, INT show) {
    g_shellCalls.push_back(
        {window, verb ? verb : "", file ? file : "", parameters == nullptr, directory == nullptr, show});
    return reinterpret_cast<HINSTANCE>(42);
}

struct Seen {
    int dialogs = 0;
    std::string text, header;
    std::vector<std::string> captions;
    std::vector<int> ids;
    std::vector<RECT> buttons; // client coordinates of the dialog
    std::vector<bool> sunken;
    RECT frame{}; // client coordinates of the dialog
    RECT window{};
    LONG style = 0, exStyle = 0;
};

using msgtest::clientRect;
using msgtest::textOf;

void inspect(HWND dialog, Seen& seen) {
    ++seen.dialogs;
    seen.text = textOf(GetDlgItem(dialog, IDC_MESSAGE_TEXT));
    seen.header = textOf(GetWindow(dialog, GW_CHILD));
    seen.frame = clientRect(dialog, GetDlgItem(dialog, IDC_MESSAGE_FRAME));
    GetWindowRect(dialog, &seen.window);
    seen.style = GetWindowLongA(dialog, GWL_STYLE);
    seen.exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
    for (int id = IDC_MESSAGE_BUTTON1; id <= IDC_MESSAGE_BUTTON4; ++id) {
        HWND button = GetDlgItem(dialog, id);
        if (!button) continue;
        seen.ids.push_back(id);
        seen.captions.push_back(textOf(button));
        seen.buttons.push_back(clientRect(dialog, button));
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

void pressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}
void pressKey(HWND dialog, WPARAM key) {
    PostMessageA(dialog, WM_KEYDOWN, key, 0);
}

const char* kFourButtons = "dialogtext=\"New\" version\n"
                           "button1text=Download\nbutton1action=http://a.example/get\n"
                           "button2text=Mirror\nbutton2action=ftp://f.example/pub\n"
                           "button3text=Secure\nbutton3action=https://s.example/\n"
                           "button4text=Later\nbutton4action=\n";

TEST_F(MessageDialogTest, ShowsTheTextAndFourButtonsStackedUnderTheFrame) {
    EXPECT_EQ(show(kFourButtons, [](HWND d) { pressButton(d, IDC_MESSAGE_BUTTON4); }), 0);
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

TEST_F(MessageDialogTest, AButtonOpensItsAddressThroughTheShellAndCloses) {
    const int ids[] = {IDC_MESSAGE_BUTTON1, IDC_MESSAGE_BUTTON2, IDC_MESSAGE_BUTTON3};
    const char* opened[] = {"http://a.example/get", "ftp://f.example/pub", "https://s.example/"};
    for (int i = 0; i < 3; ++i) {
        g_shellCalls.clear();
        show(kFourButtons, [&](HWND d) { SendMessageA(GetDlgItem(d, ids[i]), BM_CLICK, 0, 0); });
        ASSERT_EQ(g_shellCalls.size(), 1u) << i;
        EXPECT_EQ(g_shellCalls[0].window, nullptr);
        EXPECT_EQ(g_shellCalls[0].verb, "open");
        EXPECT_EQ(g_shellCalls[0].file, opened[i]);
        EXPECT_TRUE(g_shellCalls[0].noParameters);
        EXPECT_TRUE(g_shellCalls[0].noDirectory);
        EXPECT_EQ(g_shellCalls[0].show, SW_SHOW);
    }
}

TEST_F(MessageDialogTest, EscapeAndEnterActAsButtonOne) {
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        g_shellCalls.clear();
        show("dialogtext=Hi\nbutton1text=Go\nbutton1action=http://a.example/\n",
             [&](HWND d) { pressKey(d, key); });
        EXPECT_EQ(seen.captions.back(), "Go");
        ASSERT_EQ(g_shellCalls.size(), 1u) << key;
        EXPECT_EQ(g_shellCalls[0].file, "http://a.example/");
    }
    // Without any button the keys only close the dialog.
    seen = Seen{};
    g_shellCalls.clear();
    show("dialogtext=Just news\n", [](HWND d) { pressKey(d, VK_ESCAPE); });
    EXPECT_EQ(seen.text, "Just news");
    EXPECT_TRUE(seen.ids.empty());
    EXPECT_EQ(seen.window.bottom - seen.window.top, seen.frame.bottom + 8);
    EXPECT_TRUE(g_shellCalls.empty());
}

TEST_F(MessageDialogTest, ActionsThatAreNotPlainAddressesOpenNothing) {
    show("dialogtext=x\nbutton1text=Run\nbutton1action=c:\\x.exe http://a.example/\n",
         [](HWND d) { pressButton(d, IDC_MESSAGE_BUTTON1); });
    show("dialogtext=x\nbutton1text=Run\nbutton1action=file:///c:/windows/notepad.exe\n",
         [](HWND d) { pressButton(d, IDC_MESSAGE_BUTTON1); });
    EXPECT_EQ(seen.dialogs, 2);
    EXPECT_TRUE(g_shellCalls.empty());
}

TEST_F(MessageDialogTest, ButtonsDefinedWithGapsStayInsideTheDialog) {
    show("dialogtext=x\nbutton3text=Three\nbutton3action=http://a.example/3\n",
         [](HWND d) { pressButton(d, IDC_MESSAGE_BUTTON3); });
    ASSERT_EQ(seen.ids, std::vector<int>{IDC_MESSAGE_BUTTON3});
    EXPECT_EQ(seen.buttons[0].top, seen.frame.bottom + 4);
    EXPECT_EQ(seen.window.bottom - seen.window.top, seen.frame.bottom + 28 + 8);
    ASSERT_EQ(g_shellCalls.size(), 1u);
    EXPECT_EQ(g_shellCalls[0].file, "http://a.example/3");
}

TEST_F(MessageDialogTest, FlagOneOtherModesAndAMissingLineFeedShowNothingOrNoText) {
    EXPECT_EQ(show("dialogtext=x\nflag=1\n", [](HWND d) { pressKey(d, VK_ESCAPE); }), 0);
    EXPECT_EQ(show(
                  "dialogtext=x\n", [](HWND d) { pressKey(d, VK_ESCAPE); }, 1),
              0);
    EXPECT_EQ(seen.dialogs, 0);
    show("button1text=B\ndialogtext=no line feed", [](HWND d) { pressKey(d, VK_ESCAPE); });
    EXPECT_EQ(seen.dialogs, 1);
    EXPECT_EQ(seen.text, "");
}

} // namespace
