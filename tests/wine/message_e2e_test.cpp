// The server message as a user meets it: the real bar, started against the loopback message server,
// shows the message about thirty seconds later, and its button opens the address through the shell.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "kit/bar.h"
#include "message_server_support.h"

namespace {

constexpr int kFrame = 228, kText = 222, kButton1 = 212;

// Points the shell's handler for http addresses at the recorder for one scope.
class HttpHandlerOverride {
  public:
    explicit HttpHandlerOverride(const std::string& command) {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\http\\shell\\open\\command", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        char old[1024] = {};
        DWORD size = sizeof old - 1;
        had_ = RegQueryValueExA(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == 0;
        old_ = old;
        set(command);
    }
    ~HttpHandlerOverride() {
        if (had_) set(old_);
        RegCloseKey(key_);
    }
    HttpHandlerOverride(const HttpHandlerOverride&) = delete;
    HttpHandlerOverride& operator=(const HttpHandlerOverride&) = delete;

  private:
    void set(const std::string& value) {
        RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    HKEY key_ = nullptr;
    bool had_ = false;
    std::string old_;
};

struct Found {
    DWORD process;
    HWND dialog;
};

BOOL CALLBACK findMessageDialog(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == found->process && IsWindowVisible(hwnd) && GetDlgItem(hwnd, kText)) {
        found->dialog = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND messageDialogOf(DWORD process) {
    Found found{process, nullptr};
    EnumWindows(findMessageDialog, reinterpret_cast<LPARAM>(&found));
    return found.dialog;
}

using msgtest::clientRect;
using msgtest::textOf;

std::string readFile(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "r")) {
        char buffer[512];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

TEST(MessageEndToEnd, HalfAMinuteAfterStartTheMessageShowsAndItsButtonOpensTheAddress) {
    e2e::deleteSettingsKey();
    ASSERT_EQ(e2e::findBar(), nullptr) << "a bar from an earlier test is still running";
    msgtest::MessageServer server;
    ASSERT_TRUE(server.start("--text \"Version 1.22 is out\" --button \"Get it|http://a.example/e2e\""));
    server.useForThisProcess(); // the bar inherits this environment
    const std::string record = kit::binDir() + "\\message-e2e-urls.txt";
    DeleteFileA(record.c_str());
    SetEnvironmentVariableA("CORVANE_URL_RECORD", record.c_str());
    HttpHandlerOverride handler("\"" + kit::windowsPath(URL_RECORDER) + "\" \"%1\"");

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

    EXPECT_EQ(textOf(GetDlgItem(dialog, kText)), "Version 1.22 is out");
    HWND button = GetDlgItem(dialog, kButton1);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(textOf(button), "Get it");
    EXPECT_EQ(GetDlgItem(dialog, kButton1 + 1), nullptr);
    const RECT frame = clientRect(dialog, GetDlgItem(dialog, kFrame));
    const RECT place = clientRect(dialog, button);
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
