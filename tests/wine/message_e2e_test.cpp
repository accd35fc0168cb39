// The server message as a user meets it: the real bar, started against the loopback message server,
// shows the message about thirty seconds later, and its button opens the address through the shell.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "kit/bar.h"
#include "kit/message_server.h"

namespace {

constexpr int kFrame = 228, kText = 222, kButton1 = 212;

HWND messageDialogOf(DWORD process) {
    for (HWND window : kit::topLevelWindows(nullptr, nullptr, process))
        if (GetDlgItem(window, kText)) return window;
    return nullptr;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(MessageEndToEnd, HalfAMinuteAfterStartTheMessageShowsAndItsButtonOpensTheAddress) {
    e2e::deleteSettingsKey();
    ASSERT_EQ(e2e::findBar(), nullptr) << "a bar from an earlier test is still running";
    msgtest::MessageServer server;
    ASSERT_TRUE(server.start("--text \"Version 1.22 is out\" --button \"Get it|http://a.example/e2e\""));
    const std::string record = kit::binDir() + "\\message-e2e-urls.txt";
    DeleteFileA(record.c_str());
    SetEnvironmentVariableA("CORVANE_URL_RECORD", record.c_str());
    // The shell's handler for http addresses is the recorder for this test.
    msgtest::RegistryValue handler(HKEY_LOCAL_MACHINE, "Software\\Classes\\http\\shell\\open\\command", "",
                                   "\"" + kit::windowsPath(URL_RECORDER) + "\" \"%1\"");

    kit::Process bar;
    HWND barWindow = nullptr;
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(e2e::startBar(bar, &barWindow));
    HWND dialog = nullptr;
    ASSERT_TRUE(kit::waitFor([&] { return (dialog = messageDialogOf(bar.id())) != nullptr; }, 60000));
    const ULONGLONG elapsed = GetTickCount64() - started;
    EXPECT_GE(elapsed, 29000u);
    EXPECT_LE(elapsed, 45000u);
    EXPECT_EQ(server.requests(), 1);

    EXPECT_EQ(msgtest::textOf(GetDlgItem(dialog, kText)), "Version 1.22 is out");
    HWND button = GetDlgItem(dialog, kButton1);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(msgtest::textOf(button), "Get it");
    EXPECT_EQ(GetDlgItem(dialog, kButton1 + 1), nullptr);
    const RECT frame = msgtest::clientRect(dialog, GetDlgItem(dialog, kFrame));
    const RECT place = msgtest::clientRect(dialog, button);
    EXPECT_EQ(place.top, frame.bottom + 4);
    EXPECT_EQ(place.bottom, frame.bottom + 28);
    EXPECT_EQ(place.left, 1);
    EXPECT_EQ(place.right, frame.right);
    RECT window{};
    GetWindowRect(dialog, &window);
    EXPECT_EQ(window.bottom - window.top, frame.bottom + 28 + 8);

    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(kit::waitFor([&] {
        return readFile(record).find("http://a.example/e2e") != std::string::npos;
    })) << readFile(record);

    EXPECT_TRUE(e2e::closeBar(bar, barWindow));
    bar.kill();
    e2e::deleteSettingsKey();
    DeleteFileA(record.c_str());
}

} // namespace
