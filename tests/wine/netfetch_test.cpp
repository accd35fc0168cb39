// cvil.dll against the loopback message server: what reaches the window, and what does not.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <wincrypt.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "kit/message_server.h"
#include "kit/other_process.h"
#include "netfetch/cvil.h"
#include "netfetch/heap_buffer.h"

namespace {

struct Reply {
    std::string text;
    size_t length; // up to the terminating zero
    LPARAM mode;
};

std::vector<Reply> g_replies;

// The lowest free slot of WinINet's handle table: it moves up when a call leaves a handle open.
UINT_PTR lowestFreeInternetHandle() {
    HINTERNET probe = InternetOpenA("probe", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    const auto value = reinterpret_cast<UINT_PTR>(probe);
    if (probe) InternetCloseHandle(probe);
    return value;
}

// This process's kernel handles, from the system-wide handle list (Wine's GetProcessHandleCount says 0).
struct SystemHandleEntry {
    ULONG processId;
    UCHAR objectType, flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};

DWORD countOwnHandles() {
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    constexpr ULONG kSystemHandleInformation = 16;
    while (query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) {
        if (buffer.size() >= (64u << 20)) return 0;
        buffer.resize(buffer.size() * 2);
    }
    const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const SystemHandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    DWORD own = 0;
    for (ULONG i = 0; i < count; ++i)
        if (entries[i].processId == GetCurrentProcessId()) ++own;
    return own;
}

LRESULT CALLBACK receiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == cvil::kReplyMessage) {
        const char* body = reinterpret_cast<const char*>(wParam);
        g_replies.push_back({body, std::strlen(body), lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A certificate among the system's trusted roots for a scope, then removed again. The store is closed at
// once: the system writes it out only then, and other readers see it only then.
class TrustedRoot {
  public:
    explicit TrustedRoot(const std::string& pemFile) {
        std::ifstream file(pemFile);
        const std::string pem{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        DWORD size = 0;
        if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr,
                                  nullptr))
            return;
        der_.resize(size);
        if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der_.data(), &size, nullptr,
                                  nullptr))
            return;
        HCERTSTORE store = CertOpenSystemStoreA(0, "ROOT");
        if (!store) return;
        added_ = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der_.data(), size,
                                                  CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != 0;
        CertCloseStore(store, 0);
    }
    // Removed where the system keeps it, under its thumbprint: a deletion through the store is not always
    // written out.
    ~TrustedRoot() {
        if (!added_) return;
        BYTE hash[20] = {};
        DWORD size = sizeof hash;
        if (!CryptHashCertificate(0, CALG_SHA1, 0, der_.data(), static_cast<DWORD>(der_.size()), hash, &size))
            return;
        std::string key = "Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\";
        for (DWORD i = 0; i < size; ++i) {
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02X", hash[i]);
            key += digits;
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    }
    TrustedRoot(const TrustedRoot&) = delete;
    TrustedRoot& operator=(const TrustedRoot&) = delete;
    bool added() const { return added_; }

  private:
    std::vector<BYTE> der_;
    bool added_ = false;
};

class HttpGet : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = receiverProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CorvaneReplyReceiver";
        RegisterClassA(&wc);
        library_ = LoadLibraryA((kit::distDir() + "\\" + cvil::kLibraryFile).c_str());
        ASSERT_NE(library_, nullptr) << (kit::distDir() + "\\" + cvil::kLibraryFile);
        httpGet_ = cvil::entryPoint(library_);
        ASSERT_NE(httpGet_, nullptr);
        server_ = new msgtest::MessageServer;
        ASSERT_TRUE(server_->start("--text \"Hello\""));
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
        if (library_) FreeLibrary(library_);
    }
    void SetUp() override {
        g_replies.clear();
        window_ = CreateWindowA("CorvaneReplyReceiver", "receiver", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
        // A test that pointed the library elsewhere leaves it pointed back at the server.
        if (server_) server_->useForThisProcess();
    }
    int get(const std::string& path, int mode = 2) { return httpGet_(path.c_str(), window_, mode); }
    // The request brings up the system's credentials dialog over the window, which is cancelled.
    void getCancellingTheDialog(const char* path) {
        msgtest::DialogWatchdog watchdog([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(get(path), 1) << path;
        EXPECT_EQ(watchdog.dialogsSeen(), 1) << path;
        EXPECT_EQ(watchdog.lastOwner(), window_) << path;
    }

    static inline HMODULE library_ = nullptr;
    static inline cvil::HttpGetFn httpGet_ = nullptr;
    static inline msgtest::MessageServer* server_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(HttpGet, ABodyArrivesWholeWithItsZeroAndTheModePassedThrough) {
    const std::string forty = "dialogtext=0123456789012345678901234567\n";
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(get("/c.cgi?body=dialogtext%3D0123456789012345678901234567%0A", 7), 1);
    ASSERT_EQ(g_replies.size(), 1u);
    EXPECT_EQ(g_replies[0].text, forty);
    EXPECT_EQ(g_replies[0].length, 40u);
    EXPECT_EQ(g_replies[0].mode, 7);
    // The server's own answer for the program's request.
    EXPECT_EQ(get("/c.cgi?v=1.21"), 1);
    ASSERT_EQ(g_replies.size(), 2u);
    EXPECT_EQ(g_replies[1].text, "dialogtext=Hello\n");
    EXPECT_EQ(g_replies[1].mode, 2);
}

TEST_F(HttpGet, EmptyBodySucceedsWithoutAMessage) {
    EXPECT_EQ(get("/c.cgi?empty=1"), 1);
    EXPECT_TRUE(g_replies.empty());
}

TEST_F(HttpGet, StatusesOtherThanOkFailWithoutAMessage) {
    for (const char* path : {"/c.cgi?status=404", "/nothing-here", "/c.cgi?status=500", "/c.cgi?status=302"})
        EXPECT_EQ(get(path), 0) << path;
    EXPECT_TRUE(g_replies.empty());
}

TEST_F(HttpGet, LongAndSlowBodiesArriveWholeInOneMessage) {
    EXPECT_EQ(get("/c.cgi?long=100000"), 1);
    EXPECT_EQ(get("/c.cgi?long=5000&slow=1"), 1);
    ASSERT_EQ(g_replies.size(), 2u);
    const std::string pattern = "0123456789abcdefghijklmnopqrstuvwxyz\n";
    for (size_t i : {0, 1}) {
        const size_t expected = i == 0 ? 100000 : 5000;
        ASSERT_EQ(g_replies[i].length, expected);
        for (size_t at = 0; at < expected; at += 997)
            EXPECT_EQ(g_replies[i].text[at], pattern[at % pattern.size()]);
    }
}

TEST_F(HttpGet, BodiesBeyondOneMebibyteAreRefused) {
    EXPECT_EQ(get("/c.cgi?long=1048576"), 1);
    ASSERT_EQ(g_replies.size(), 1u);
    EXPECT_EQ(g_replies[0].length, 1048576u);
    EXPECT_EQ(get("/c.cgi?long=1048577"), 0);
    EXPECT_EQ(g_replies.size(), 1u);
}

TEST_F(HttpGet, ADeadWindowGetsNothingButTheExchangeSucceeds) {
    DestroyWindow(window_);
    EXPECT_EQ(get("/c.cgi?v=1.21"), 1);
    EXPECT_TRUE(g_replies.empty());
}

TEST_F(HttpGet, TheRequestCarriesTheFixedParametersAndOnlySpacesAreEncoded) {
    ASSERT_EQ(get("/c.cgi?echo=1&x=a b&y=%41"), 1);
    ASSERT_EQ(g_replies.size(), 1u);
    const std::string& echo = g_replies[0].text;
    EXPECT_EQ(echo.rfind("GET /c.cgi?echo=1&x=a%20b&y=%41 HTTP/1.1\r\n", 0), 0u) << echo;
    for (const std::string header : {"User-Agent: Corvane!\r\n", "Accept: */*\r\n", "Pragma: no-cache\r\n"})
        EXPECT_NE(echo.find(header), std::string::npos) << header << echo;
    EXPECT_NE(echo.find("Host: " + server_->address()), std::string::npos) << echo;
}

TEST_F(HttpGet, AnUnreachableServerFails) {
    const std::string dead = "127.0.0.1:" + std::to_string(msgtest::unusedPort());
    SetEnvironmentVariableA(cvil::kServerVariable, dead.c_str());
    EXPECT_EQ(get("/c.cgi?v=1.21"), 0);
    server_->useForThisProcess();
    EXPECT_TRUE(g_replies.empty());
    EXPECT_EQ(httpGet_(nullptr, window_, 2), 0);
}

// The reply is sent from the caller's thread to the window's thread and waits for its handling, as the
// bar's worker does.
TEST_F(HttpGet, FromAWorkerTheReplyIsHandledOnTheWindowsThreadBeforeTheCallReturns) {
    std::atomic<int> result{-1};
    size_t repliesAtReturn = 99;
    std::thread worker([&] {
        const int r = httpGet_("/c.cgi?v=1.21", window_, 2);
        repliesAtReturn = g_replies.size();
        result = r;
    });
    EXPECT_TRUE(kit::waitFor([&] { return result != -1; }));
    worker.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(repliesAtReturn, 1u);
    ASSERT_EQ(g_replies.size(), 1u);
    EXPECT_EQ(g_replies[0].text, "dialogtext=Hello\n");
}

TEST_F(HttpGet, RepeatedCallsWithLoadAndFreeLeakNoHandles) {
    ASSERT_EQ(get("/c.cgi?v=1.21"), 1); // first use sets up the system's own caches
    ASSERT_EQ(get("/c.cgi?status=404"), 0);
    const DWORD handlesBefore = countOwnHandles();
    const UINT_PTR internetBefore = lowestFreeInternetHandle();
    // Counted where Wine's GetGuiResources answers 0 too.
    const kit::GuiObjects guiBefore = kit::guiObjects(GetCurrentProcessId());
    for (int i = 0; i < 6; ++i) {
        HMODULE lib = LoadLibraryA((kit::distDir() + "\\" + cvil::kLibraryFile).c_str());
        auto fn = cvil::entryPoint(lib);
        EXPECT_EQ(fn("/c.cgi?v=1.21", window_, 2), 1);
        EXPECT_EQ(fn("/c.cgi?status=404", window_, 2), 0);
        EXPECT_EQ(fn("/c.cgi?long=1048577", window_, 2), 0);
        FreeLibrary(lib);
    }
    const DWORD handlesAfter = countOwnHandles();
    EXPECT_NE(internetBefore, 0u);
    EXPECT_EQ(lowestFreeInternetHandle(), internetBefore);
    EXPECT_LE(handlesAfter, handlesBefore + 3) << handlesBefore << " -> " << handlesAfter;
    const kit::GuiObjects guiAfter = kit::guiObjects(GetCurrentProcessId());
    EXPECT_GT(guiBefore.gdi, 0);
    EXPECT_LE(guiAfter.gdi, guiBefore.gdi);
    EXPECT_LE(guiAfter.user, guiBefore.user);
    EXPECT_GT(handlesBefore, 0u);
    EXPECT_EQ(g_replies.size(), 7u);
}

// The server's own request for credentials is a failure like any other: whoever answers in its place
// must not get a password dialog in front of the user.
TEST_F(HttpGet, TheServersRequestForCredentialsFailsWithoutAnyDialog) {
    msgtest::DialogWatchdog watchdog([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(get("/c.cgi?auth=401"), 0);
    EXPECT_EQ(watchdog.dialogsSeen(), 0);
    EXPECT_TRUE(g_replies.empty());
}

// The session takes the system's proxy: the built-in reserved name goes out through it unresolved, and
// a proxy that wants credentials gets the system's dialog, whose cancel ends the exchange as done.
TEST_F(HttpGet, ThroughTheConfiguredProxyAndItsCredentialsDialog) {
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    msgtest::RegistryValue enable(HKEY_CURRENT_USER, key, "ProxyEnable", 1);
    msgtest::RegistryValue proxy(HKEY_CURRENT_USER, key, "ProxyServer", server_->address());
    SetEnvironmentVariableA(cvil::kServerVariable, nullptr);
    EXPECT_EQ(get("/c.cgi?v=1.21"), 1);
    ASSERT_EQ(g_replies.size(), 1u);
    EXPECT_EQ(g_replies[0].text, "dialogtext=Hello\n");
    getCancellingTheDialog("/c.cgi?auth=407");
    EXPECT_EQ(g_replies.size(), 1u);
    server_->useForThisProcess();
}

// Last of the proxy's: the system remembers accepted credentials for the rest of the process.
TEST_F(HttpGet, ProxyCredentialsGivenInTheDialogSendTheRequestAgain) {
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    msgtest::RegistryValue enable(HKEY_CURRENT_USER, key, "ProxyEnable", 1);
    msgtest::RegistryValue proxy(HKEY_CURRENT_USER, key, "ProxyServer", server_->address());
    SetEnvironmentVariableA(cvil::kServerVariable, nullptr);
    msgtest::DialogWatchdog watchdog([](HWND dialog) {
        HWND edit = FindWindowExA(dialog, nullptr, "Edit", nullptr);
        SetWindowTextA(edit, "user");
        SetWindowTextA(FindWindowExA(dialog, edit, "Edit", nullptr), "secret");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(get("/c.cgi?auth=407"), 1);
    server_->useForThisProcess();
    EXPECT_EQ(watchdog.dialogsSeen(), 1);
    ASSERT_EQ(g_replies.size(), 1u);
    EXPECT_EQ(g_replies[0].text, "dialogtext=Hello\n");
}

// Over TLS the system's certificate checks decide: a certificate it does not trust is refused without a
// dialog that would let the user wave it through, nothing is shown, and no request goes out in plain HTTP
// instead. Once the system trusts it, the same address answers.
TEST_F(HttpGet, AnHttpsServerTheSystemDoesNotTrustIsRefusedAndNothingIsShown) {
    msgtest::MessageServer tls;
    ASSERT_TRUE(tls.startWithTls("--text Secure"));
    SetEnvironmentVariableA(cvil::kServerVariable, tls.tlsAddress().c_str());
    {
        msgtest::DialogWatchdog watchdog([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(get("/c.cgi?v=1.21"), 0);
        EXPECT_EQ(watchdog.dialogsSeen(), 0);
    }
    EXPECT_TRUE(g_replies.empty());
    EXPECT_GE(tls.refusedConnections(), 1);
    EXPECT_EQ(tls.plainRequestsOnTls(), 0);
    EXPECT_EQ(tls.requests(), 0);
    // The system reads its trusted roots once per process: the trusted case runs in a process of its own.
    SetEnvironmentVariableA("CORVANE_TEST_TLS_SERVER", tls.tlsAddress().c_str());
    SetEnvironmentVariableA("CORVANE_TEST_TLS_CERTIFICATE", tls.certificateFile().c_str());
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    kit::Process trusted;
    ASSERT_TRUE(trusted.start(
        self, "--gtest_also_run_disabled_tests "
              "--gtest_filter=HttpGet.DISABLED_OnceTheSystemTrustsTheCertificateItsServerAnswers"));
    EXPECT_TRUE(trusted.waitExit(60000));
    EXPECT_EQ(trusted.exitCode(), 0u);
    EXPECT_EQ(tls.requests(), 1);
}

// Run by the test above, in a process of its own.
TEST_F(HttpGet, DISABLED_OnceTheSystemTrustsTheCertificateItsServerAnswers) {
    char address[300] = {}, certificate[MAX_PATH] = {};
    ASSERT_NE(GetEnvironmentVariableA("CORVANE_TEST_TLS_SERVER", address, sizeof address), 0u);
    ASSERT_NE(GetEnvironmentVariableA("CORVANE_TEST_TLS_CERTIFICATE", certificate, sizeof certificate), 0u);
    TrustedRoot trust(certificate);
    ASSERT_TRUE(trust.added());
    SetEnvironmentVariableA(cvil::kServerVariable, address);
    EXPECT_EQ(get("/c.cgi?v=1.21"), 1);
    ASSERT_EQ(g_replies.size(), 1u);
    EXPECT_EQ(g_replies[0].text, "dialogtext=Secure\n");
}

// The body's buffer: a growth step per appended chunk would copy a 1 MiB body hundreds of times over.
TEST(HeapBuffer, GrowsByDoublingAndKeepsWhatItHolds) {
    cvil::HeapBuffer buffer;
    size_t growths = 0;
    size_t capacity = 0;
    for (size_t i = 0; i < cvil::kMaxBody; ++i) {
        const char byte = static_cast<char>(i * 7);
        ASSERT_TRUE(buffer.append(&byte, 1)) << i;
        if (buffer.capacity() != capacity) {
            ++growths;
            capacity = buffer.capacity();
        }
    }
    ASSERT_EQ(buffer.size(), cvil::kMaxBody);
    EXPECT_LE(growths, 12u) << "capacity " << capacity;
    size_t firstWrong = 0;
    while (firstWrong < buffer.size() && buffer.data()[firstWrong] == static_cast<char>(firstWrong * 7))
        ++firstWrong;
    EXPECT_EQ(firstWrong, buffer.size());
}

// Out of memory is an answer, not a crash: the refused growth leaves the contents and the buffer usable.
TEST(HeapBuffer, AGrowthTheHeapRefusesKeepsTheContents) {
    HANDLE heap = HeapCreate(0, 0, 64 * 1024); // a fixed maximum: it cannot grow
    ASSERT_NE(heap, nullptr);
    {
        cvil::HeapBuffer buffer(heap);
        const std::string chunk(1000, 'x');
        size_t appended = 0;
        while (appended < 1000 && buffer.append(chunk.data(), chunk.size()))
            ++appended;
        EXPECT_GT(appended, 0u);
        EXPECT_LT(appended, 1000u);
        ASSERT_EQ(buffer.size(), appended * chunk.size());
        EXPECT_EQ(std::string(buffer.data(), buffer.size()), std::string(buffer.size(), 'x'));
        EXPECT_TRUE(buffer.append("y", 1));
        EXPECT_EQ(buffer.data()[buffer.size() - 1], 'y');
    }
    HeapDestroy(heap);
}

} // namespace
