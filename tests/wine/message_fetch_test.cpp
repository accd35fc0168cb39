// The message-fetch worker with the real cvil.dll and the loopback server, on a fast clock: its waits are
// recorded instead of slept.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <psapi.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "kit/bar.h"
#include "kit/message_server.h"
#include "message/message_dialog.h"
#include "message/message_fetch.h"
#include "netfetch/cvil.h"
#include "resources/resource.h"

namespace {

std::vector<std::string> g_opened;
int g_replies = 0;
std::shared_ptr<message::ReplyRegistry> g_registry = std::make_shared<message::ReplyRegistry>();

HINSTANCE WINAPI recordShellExecute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
    g_opened.push_back(e2e::utf8Of(file));
    return reinterpret_cast<HINSTANCE>(42);
}

// Stands in for the bar window: answers message 1028 as the bar does.
LRESULT CALLBACK barProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == cvil::kReplyMessage) {
        ++g_replies;
        return message::handleHttpReply(hwnd, GetModuleHandleA(nullptr), nullptr, *g_registry, wParam,
                                        recordShellExecute);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The waits of the worker, in order: they add up to the virtual time of each of its steps.
struct FastClock {
    std::mutex lock;
    std::vector<DWORD> sleeps;
    void sleep(DWORD ms) {
        std::lock_guard<std::mutex> hold(lock);
        sleeps.push_back(ms);
    }
};

class MessageFetchTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = barProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CorvaneFetchTestBar";
        RegisterClassA(&wc);
    }
    void SetUp() override {
        g_opened.clear();
        g_replies = 0;
        bar_ = CreateWindowA("CorvaneFetchTestBar", "bar", WS_POPUP, 0, 0, 100, 30, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(bar_, nullptr);
        share_ = std::make_shared<message::HttpLibraryShare>();
    }
    void TearDown() override {
        if (IsWindow(bar_)) DestroyWindow(bar_);
    }
    message::FetchOptions fastOptions() {
        message::FetchOptions options;
        options.libraryPath = kit::distDir() + "\\" + cvil::kLibraryFile;
        options.sleep = [this](DWORD ms) { clock_.sleep(ms); };
        options.reportError = [this](const char* text) { errors_.push_back(text); };
        return options;
    }
    // Runs one fetch to its end while this thread keeps the bar answering; the last user frees the library.
    void runFetch(message::FetchOptions options) {
        auto fetch = message::startMessageFetch(bar_, share_, g_registry, std::move(options));
        ASSERT_TRUE(fetch);
        EXPECT_TRUE(kit::waitFor([&] { return fetch->wait(0); }, 30000));
        fetch.reset();
        EXPECT_EQ(share_->httpLibraryUsers, 0);
        EXPECT_EQ(GetModuleHandleA(cvil::kLibraryFile), nullptr);
    }
    // Watches for the message dialog: records its text, then answers with the command.
    std::unique_ptr<msgtest::DialogWatchdog> answerDialogs(std::string& text, WPARAM command) {
        return std::make_unique<msgtest::DialogWatchdog>([&text, command](HWND dialog) {
            char buffer[256] = {};
            GetDlgItemTextA(dialog, IDC_MESSAGE_TEXT, buffer, sizeof buffer);
            text = buffer;
            PostMessageA(dialog, WM_COMMAND, command, 0);
        });
    }

    msgtest::MessageServer server;
    HWND bar_ = nullptr;
    std::shared_ptr<message::HttpLibraryShare> share_;
    FastClock clock_;
    std::vector<std::string> errors_;
};

TEST_F(MessageFetchTest, AfterThirtySecondsTheMessageIsShownAndItsButtonOpensTheAddress) {
    ASSERT_TRUE(
        server.start("--text \"Hello from the server\" --button \"Read more|http://a.example/news\""));
    std::string text;
    auto watchdog = answerDialogs(text, MAKEWPARAM(IDC_MESSAGE_BUTTON1, BN_CLICKED));
    runFetch(fastOptions());
    EXPECT_EQ(clock_.sleeps, std::vector<DWORD>{30000});
    EXPECT_EQ(watchdog->dialogsSeen(), 1);
    EXPECT_EQ(watchdog->lastOwner(), bar_);
    EXPECT_EQ(text, "Hello from the server");
    EXPECT_EQ(g_opened, std::vector<std::string>{"http://a.example/news"});
    EXPECT_EQ(server.requests(), 1);
    // The last user freed the library.
    EXPECT_EQ(share_->httpLibrary, nullptr);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(MessageFetchTest, FlagOneShowsNothing) {
    ASSERT_TRUE(server.start("--text News --flag"));
    msgtest::DialogWatchdog watchdog([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    runFetch(fastOptions());
    EXPECT_EQ(g_replies, 1);
    EXPECT_EQ(watchdog.dialogsSeen(), 0);
}

TEST_F(MessageFetchTest, FailingAttemptsComeAtThirtyFiftySeventyAndNinetySecondsThenNothing) {
    ASSERT_TRUE(server.start("--status 404"));
    runFetch(fastOptions());
    EXPECT_EQ(server.requests(), 4);
    // Attempts follow the waits: at 30 s, then 20 s after each failure but the last.
    EXPECT_EQ(clock_.sleeps, (std::vector<DWORD>{30000, 20000, 20000, 20000}));
    EXPECT_EQ(g_replies, 0);
}

TEST_F(MessageFetchTest, WithTheServerDownTheFourAttemptsFailQuietly) {
    SetEnvironmentVariableA(cvil::kServerVariable,
                            ("127.0.0.1:" + std::to_string(msgtest::unusedPort())).c_str());
    runFetch(fastOptions());
    EXPECT_EQ(clock_.sleeps, (std::vector<DWORD>{30000, 20000, 20000, 20000}));
    EXPECT_EQ(g_replies, 0);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(MessageFetchTest, AMissingLibraryIsReportedOnceAndNothingIsAsked) {
    auto options = fastOptions();
    options.libraryPath = kit::distDir() + "\\no-such-folder\\cvil.dll";
    runFetch(std::move(options));
    EXPECT_EQ(errors_, std::vector<std::string>{"Cannot load library \"cvil.dll\"!"});
    EXPECT_EQ(clock_.sleeps, std::vector<DWORD>{30000});
}

// Released while it waits, the worker never reaches the bar: no library, no request, no message.
TEST_F(MessageFetchTest, ABarGoneDuringTheWaitIsNeverTouched) {
    ASSERT_TRUE(server.start("--text News"));
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> waiting{false};
    auto options = fastOptions();
    options.sleep = [&](DWORD) {
        waiting = true;
        WaitForSingleObject(release, 10000);
    };
    auto fetch = message::startMessageFetch(bar_, share_, g_registry, std::move(options));
    ASSERT_TRUE(fetch);
    ASSERT_TRUE(kit::waitFor([&] { return waiting.load(); }));
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), fetch->handle(), GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0);
    DestroyWindow(bar_);
    fetch.reset();
    SetEvent(release);
    EXPECT_EQ(WaitForSingleObject(copy, 10000), WAIT_OBJECT_0);
    CloseHandle(copy);
    CloseHandle(release);
    EXPECT_EQ(server.requests(), 0);
    EXPECT_EQ(g_replies, 0);
    EXPECT_EQ(share_->httpLibrary, nullptr);
    EXPECT_EQ(share_->httpLibraryUsers, 0);
}

// The dialog disables the bar while it is open; a bar closed meanwhile takes the dialog with it, and the
// worker, still waiting for its message to return, ends without touching anything.
TEST_F(MessageFetchTest, ABarClosedWhileTheMessageIsShownTakesTheDialogAlong) {
    ASSERT_TRUE(server.start("--text News --button \"Go|http://a.example/\""));
    bool barEnabled = true;
    msgtest::DialogWatchdog watchdog([&](HWND) {
        barEnabled = IsWindowEnabled(bar_) != FALSE;
        PostMessageA(bar_, WM_CLOSE, 0, 0);
    });
    runFetch(fastOptions());
    EXPECT_EQ(watchdog.dialogsSeen(), 1);
    EXPECT_FALSE(barEnabled);
    EXPECT_FALSE(IsWindow(bar_));
    EXPECT_TRUE(msgtest::processDialogs().empty());
    EXPECT_TRUE(g_opened.empty());
}

// Nothing in a window message tells who sent it. While the real message is shown, replies made up by another
// thread, sent to the worker's own target and posted and sent to the bar, are never read.
TEST_F(MessageFetchTest, RepliesTheBarDidNotIssueAreNeverRead) {
    ASSERT_TRUE(server.start("--text News"));
    int answered = 0;
    msgtest::DialogWatchdog watchdog([&](HWND dialog) {
        HWND target = FindWindowExA(HWND_MESSAGE, nullptr, "CorvaneReplyTarget", nullptr);
        for (HWND to : {target, bar_}) {
            PostMessageA(to, cvil::kReplyMessage, 0x10, message::HTTP_MODE_MESSAGE);
            DWORD_PTR ignored = 0;
            if (to && SendMessageTimeoutA(to, cvil::kReplyMessage, 0x10, message::HTTP_MODE_MESSAGE,
                                          SMTO_NORMAL, 3000, &ignored))
                ++answered;
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    runFetch(fastOptions());
    EXPECT_EQ(answered, 2);
    EXPECT_EQ(watchdog.dialogsSeen(), 1);
}

// The target itself, with a valid pointer: under Wine a bad one read from another thread faults quietly, so
// only a readable forgery shows whether it was read. Posted or sent from elsewhere, it is dropped.
TEST(ReplyTargetRule, OnlyWhatItsOwnThreadSendsIsKept) {
    message::ReplyTarget target;
    HWND to = target.hwnd();
    ASSERT_NE(to, nullptr);
    static const char forged[] = "dialogtext=Forged\n";
    const auto body = reinterpret_cast<WPARAM>(forged);
    PostMessageA(to, cvil::kReplyMessage, body, message::HTTP_MODE_MESSAGE);
    std::atomic<bool> sent{false};
    std::thread other([&] {
        SendMessageA(to, cvil::kReplyMessage, body, message::HTTP_MODE_MESSAGE);
        sent = true;
    });
    for (MSG msg; !sent || PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    other.join();
    EXPECT_EQ(target.take(), nullptr);
    SendMessageA(to, cvil::kReplyMessage, body, message::HTTP_MODE_MESSAGE);
    const std::unique_ptr<message::Reply> own = target.take();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->body, forged);
}

TEST_F(MessageFetchTest, TheLibraryIsLookedForBesideTheProgramOnly) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string expected(exe);
    expected.erase(expected.find_last_of('\\') + 1);
    EXPECT_EQ(message::libraryBesideProgram(), expected + "cvil.dll");
}

// ---------------------------------------------------------------------------------------------------------
// Answers no honest server gives: the worker ends, the bar's thread keeps answering, memory stays bounded.

class HostileAnswers : public MessageFetchTest {
  protected:
    static size_t peakPrivateBytes() {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
        return counters.PeakPagefileUsage;
    }
    // Runs the fetch against a server started with `options`, answering any dialog by closing it, and
    // returns the dialog text seen (empty when none was).
    std::string fetchFrom(const std::string& options) {
        server.stop(); // from the test's earlier fetch
        EXPECT_TRUE(server.start(options));
        std::string text;
        auto watchdog = answerDialogs(text, IDCANCEL);
        size_t before = peakPrivateBytes();
        EXPECT_GT(before, 0u);
        runFetch(fastOptions());
        requests_ = server.requests();
        dialogs_ = watchdog->dialogsSeen();
        // A body kept whole, or a copy of it per step, would show as megabytes. The platform's "peak" was
        // seen lower after the fetch than before it: a drop counts as no growth, not as a huge one.
        const size_t after = peakPrivateBytes();
        EXPECT_LT(after > before ? after - before : 0u, 6u * 1024 * 1024);
        DWORD_PTR ignored = 0;
        EXPECT_NE(SendMessageTimeoutA(bar_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored), 0);
        return text;
    }
    void expectFourRefusedAttempts() {
        EXPECT_EQ(requests_, 4);
        EXPECT_EQ(g_replies, 0);
        EXPECT_EQ(dialogs_, 0);
    }
    int requests_ = 0;
    int dialogs_ = 0;
};

TEST_F(HostileAnswers, BinaryBytesAndNulsAreReadAsTextUpToTheFirstNul) {
    EXPECT_EQ(fetchFrom("--binary 4096"), "");
    EXPECT_EQ(requests_, 1);
    EXPECT_EQ(g_replies, 1);
}

TEST_F(HostileAnswers, AValueWithoutALineFeedIsEmptyAndAHundredThousandKeysAreReadOnce) {
    EXPECT_EQ(fetchFrom("--body \"dialogtext=No line end\""), "");
    EXPECT_EQ(g_replies, 1);
    g_replies = 0;
    DWORD started = GetTickCount();
    EXPECT_EQ(fetchFrom("--keys 100000"), "After the keys");
    EXPECT_EQ(g_replies, 1);
    std::printf("100000 keys fetched and read in %lu ms\n",
                static_cast<unsigned long>(GetTickCount() - started));
}

TEST_F(HostileAnswers, TenMegabytesAreRefusedAtEachAttempt) {
    fetchFrom("--long 10485760");
    expectFourRefusedAttempts();
}

TEST_F(HostileAnswers, BodiesThatNeverEndAreCutOffEvenBehindARefusal) {
    fetchFrom("--endless");
    expectFourRefusedAttempts();
    g_replies = 0;
    fetchFrom("--endless-refusal");
    expectFourRefusedAttempts();
}

} // namespace
