// Text outside the ANSI code page, messages made up by other programs and the bar's accessible object, with
// the real corvane.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/bar_commands.h"
#include "kit/bar_fixture.h"
#include "kit/browsers.h"
#include "kit/input.h"
#include "kit/tray.h"

namespace {

// "Новости 日本": Cyrillic and CJK, none of it in Windows-1252.
const std::string kTitle =
    "\xd0\x9d\xd0\xbe\xd0\xb2\xd0\xbe\xd1\x81\xd1\x82\xd0\xb8 \xe6\x97\xa5\xe6\x9c\xac";
// A font with both scripts, installed by the install step.
const std::string kCjkFace = "WenQuanYi Micro Hei";
constexpr int kNewBrowserCommand = 245;

using International = e2e::MenuBarTest;

TEST_F(International, ANonLatinTitleReachesTheButtonItsToolTipAndTheWindowList) {
    e2e::writeSetting("Font face name", kCjkFace);
    start();
    kit::Process browser;
    ASSERT_TRUE(browser.startUtf8("\"" + kit::toolPath("standin-browser\\cv-browser.exe") +
                                  "\" --title \"  " + kTitle + " - Microsoft Internet Explorer\""));
    ASSERT_TRUE(waitTools(1));

    EXPECT_TRUE(e2e::buttonTextDrawnAs(bar_, {58, 3, 211, 21}, kTitle, kCjkFace, -11));
    // The check can fail: what the narrow calls made of the title draws differently.
    EXPECT_NE(kit::renderButtonText(kTitle, {153, 18}, 0, RGB(255, 255, 255), kCjkFace, -11),
              kit::renderButtonText("??????? ??", {153, 18}, 0, RGB(255, 255, 255), kCjkFace, -11));

    kit::moveTo(at(0, 40, 10));
    kit::moveTo(at(0, 42, 11));
    EXPECT_TRUE(kit::waitFor([&] { return tray::shownToolTip(proc_.id()) == kTitle; }, 4000))
        << tray::shownToolTip(proc_.id());

    ASSERT_TRUE(kit::moveTo(300, 200));
    HWND menu = tray::openIconMenu(bar_);
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> items = tray::menuItems(bar_, menu);
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[1], "\t" + kTitle);
}

TEST_F(International, ACommandNamingANonAsciiPathIsReadAfterARestartAndStartsThatProgram) {
    // The launch probe copied into a folder whose name is outside the ANSI code page.
    const std::string folder =
        kit::binDir() + "\\\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb1\xd0\xb0 \xe6\x97\xa5\xe6\x9c\xac";
    CreateDirectoryW(e2e::wideOf(folder).c_str(), nullptr);
    const std::string program = folder + "\\probe.exe";
    ASSERT_TRUE(CopyFileW(e2e::wideOf(kit::binDir() + "\\tests\\wine\\launch_probe.exe").c_str(),
                          e2e::wideOf(program).c_str(), FALSE));
    e2e::writeSettingWide("Internet Explorer path", "\"" + program + "\" unicode probe");
    start();
    PostMessageA(bar_, WM_COMMAND, MAKEWPARAM(kNewBrowserCommand, BN_CLICKED), 0);
    HWND probe = nullptr;
    EXPECT_TRUE(kit::waitFor([&] { return (probe = tray::windowTitled("unicode probe")) != nullptr; }, 8000));
    tray::closeWindowsTitled("unicode probe");
    EXPECT_TRUE(kit::waitFor([] { return tray::windowTitled("unicode probe") == nullptr; }));
    DeleteFileW(e2e::wideOf(program).c_str());
    RemoveDirectoryW(e2e::wideOf(folder).c_str());
}

TEST_F(International, StructuresAndDpisMadeUpByAnotherProgramAreNotTaken) {
    openBefore({"Alpha"});
    start();
    ASSERT_TRUE(waitTools(1));
    // Pointers into nothing, sent and posted to the bar and to its own buttons, and a DPI the monitor does
    // not have: the bar reads none of them. The DPI comes from the window, 96 here.
    const UINT messages[] = {WM_NOTIFY,     WM_DRAWITEM,      WM_MEASUREITEM, WM_DELETEITEM, WM_COMPAREITEM,
                             WM_DPICHANGED, WM_GETMINMAXINFO, WM_HELP,        WM_NCCREATE,   WM_CREATE};
    for (HWND target : {bar_, GetDlgItem(bar_, kNewBrowserCommand)}) {
        for (UINT msg : messages) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(target, msg, MAKEWPARAM(144, 144), 0x10, SMTO_ABORTIFHUNG, 2000, &answer);
            PostMessageW(target, msg, MAKEWPARAM(65535, 65535), 0x10);
        }
    }
    // A command posted after them all is obeyed: the bar hides into the tray.
    PostMessageA(bar_, WM_COMMAND, MAKEWPARAM(core::ID_MENU_HIDE_RESTORE, 0), 0);
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindowVisible(bar_); }));
    EXPECT_FALSE(proc_.waitExit(0));
    RECT r{};
    GetWindowRect(bar_, &r);
    EXPECT_EQ(r.bottom - r.top, 24);
    PostMessageA(bar_, WM_COMMAND, MAKEWPARAM(core::ID_MENU_HIDE_RESTORE, 0), 0);
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) != FALSE; }));
}

// The bar's WinEvents that name a child of its client object, as "event:child".
std::vector<std::string> g_events;
void CALLBACK recordEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT && child > 0)
        g_events.push_back(std::to_string(event) + ":" + std::to_string(child));
}
bool sawEvent(DWORD event, int child) {
    const std::string wanted = std::to_string(event) + ":" + std::to_string(child);
    return kit::waitFor(
        [&] { return std::find(g_events.begin(), g_events.end(), wanted) != g_events.end(); });
}

// Reads a VT_I4 child's name, or "" on failure.
std::string nameOf(IAccessible* object, long child) {
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    BSTR name = nullptr;
    if (FAILED(object->get_accName(id, &name)) || !name) return {};
    std::string out = e2e::utf8Of(name);
    SysFreeString(name);
    return out;
}

TEST_F(International, AClientInAnotherProcessReadsEveryButtonThroughTheAccessibleObject) {
    std::vector<HWND> w = openBefore({"Alpha", "Beta"});
    start();
    ASSERT_TRUE(waitTools(2));
    SetForegroundWindow(w[1]);
    e2e::shellEvent(bar_, w[1], e2e::kActivated);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(bar_, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&object)),
              S_OK);
    long count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2 + 5);
    EXPECT_EQ(nameOf(object, 1), "Alpha");
    EXPECT_EQ(nameOf(object, 2), "Beta");
    EXPECT_EQ(nameOf(object, 5), "New browser window");
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = 2;
    VARIANT role{}, state{};
    EXPECT_EQ(object->get_accRole(child, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(object->get_accState(child, &state), S_OK);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_PRESSED);
    long left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(object->accLocation(&left, &top, &width, &height, child), S_OK);
    const POINT origin = e2e::clientToScreen(bar_, {e2e::button(1).left, e2e::Button::top});
    EXPECT_EQ(left, origin.x);
    EXPECT_EQ(top, origin.y);
    EXPECT_EQ(width, 160);
    BSTR action = nullptr;
    child.lVal = 1;
    EXPECT_EQ(object->get_accDefaultAction(child, &action), S_OK);
    EXPECT_EQ(e2e::utf8Of(action ? action : L""), "Switch to");
    SysFreeString(action);

    // Listeners hear of a renamed, a new and a removed button.
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_NAMECHANGE, nullptr, recordEvent,
                                         proc_.id(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    g_events.clear();
    SetWindowTextA(w[0], "Alpha 2");
    e2e::shellEvent(bar_, w[0], e2e::kRetitled);
    EXPECT_TRUE(sawEvent(EVENT_OBJECT_NAMECHANGE, 1));
    EXPECT_EQ(nameOf(object, 1), "Alpha 2");
    HWND third = browsers_.open("Gamma");
    EXPECT_TRUE(sawEvent(EVENT_OBJECT_CREATE, 3));
    browsers_.close(third);
    EXPECT_TRUE(sawEvent(EVENT_OBJECT_DESTROY, 3));
    UnhookWinEvent(hook);
    object->Release();
    CoUninitialize();
}

} // namespace
