#include "kit/message_server.h"

#include <wininet.h>
#include <winsock2.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace msgtest {

static int readPortFile(const std::string& path) {
    int port = 0;
    std::ifstream(path) >> port;
    return port;
}

namespace {
// A file of the build tree for this process's n-th server, as a host path.
std::string serverFile(int serial, const char* suffix) {
    const char* bin = std::getenv("CORVANE_BIN");
    return std::string(bin && *bin ? bin : "/tmp") + "/message-server-" +
           std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial) + suffix;
}
// Waits for the server to write the port, then removes the file.
int awaitPort(const std::string& hostPath) {
    const std::string file = kit::windowsPath(hostPath);
    int port = 0;
    kit::waitFor([&] { return (port = readPortFile(file)) > 0; }, 15000);
    DeleteFileA(file.c_str());
    return port;
}
} // namespace

bool MessageServer::launch(const std::string& options, bool tls) {
    static int serial = 0;
    const std::string portFile = serverFile(++serial, ".port");
    DeleteFileA(kit::windowsPath(portFile).c_str());
    std::string tlsPortFile;
    std::string tlsOptions;
    if (tls) {
        tlsPortFile = serverFile(serial, ".tls-port");
        DeleteFileA(kit::windowsPath(tlsPortFile).c_str());
        certificate_ = kit::windowsPath(serverFile(serial, ".pem"));
        tlsOptions = " --tls-port-file " + tlsPortFile + " --tls-cert " + serverFile(serial, ".pem");
    }
    // Wine starts a Linux program directly; it gets no process handle, so it is stopped through /quit.
    std::string command = "Z:\\usr\\bin\\python3 " CORVANE_SOURCE_DIR
                          "/tools/message-server/message_server.py "
                          "--idle-exit 300 --port-file " +
                          portFile + tlsOptions + " " + options;
    if (!kit::Process().start(command)) return false;
    port_ = awaitPort(portFile);
    if (tls && port_ > 0) tlsPort_ = awaitPort(tlsPortFile);
    const bool up = port_ > 0 && (!tls || tlsPort_ > 0);
    if (up) useForThisProcess();
    return up;
}

bool MessageServer::start(const std::string& options) {
    return launch(options, false);
}

bool MessageServer::startWithTls(const std::string& options) {
    return launch(options, true);
}

std::string MessageServer::fetch(const char* path) const {
    std::string body;
    HINTERNET session = InternetOpenA("test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    const std::string url = "http://" + address() + path;
    HINTERNET request = InternetOpenUrlA(session, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0);
    char chunk[512];
    DWORD read = 0;
    while (request && InternetReadFile(request, chunk, sizeof chunk, &read) && read > 0)
        body.append(chunk, read);
    if (request) InternetCloseHandle(request);
    if (session) InternetCloseHandle(session);
    return body;
}

void MessageServer::stop() {
    if (port_ == 0) return;
    fetch("/quit");
    port_ = 0;
    tlsPort_ = 0;
    if (!certificate_.empty()) DeleteFileA(certificate_.c_str());
    certificate_.clear();
}

int MessageServer::count(const char* name) const {
    const std::string stats = fetch("/stats");
    const std::string key = std::string(name) + "=";
    const size_t at = stats.find(key);
    int value = -1;
    if (at == std::string::npos || std::sscanf(stats.c_str() + at + key.size(), "%d", &value) != 1) return -1;
    return value;
}

int unusedPort() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
    int port = 0;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof a;
    if (s != INVALID_SOCKET && bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &length) == 0) {
        port = ntohs(a.sin_port);
    }
    if (s != INVALID_SOCKET) closesocket(s);
    WSACleanup();
    return port;
}

RegistryValue::RegistryValue(HKEY root, const char* key, const char* name, DWORD type,
                             const std::string& data)
    : name_(name) {
    RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    DWORD size = 0;
    had_ = RegQueryValueExA(key_, name, nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS;
    old_.resize(size);
    if (had_) RegQueryValueExA(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(old_.data()), &size);
    RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
}

RegistryValue::~RegistryValue() {
    if (had_) {
        RegSetValueExA(key_, name_.c_str(), 0, oldType_, reinterpret_cast<const BYTE*>(old_.data()),
                       static_cast<DWORD>(old_.size()));
    } else {
        RegDeleteValueA(key_, name_.c_str());
    }
    RegCloseKey(key_);
}

std::vector<HWND> processDialogs() {
    return kit::topLevelWindows("#32770", nullptr, GetCurrentProcessId());
}

DialogWatchdog::DialogWatchdog(std::function<void(HWND)> answer, DWORD timeoutMs)
    : answer_(std::move(answer)), thread_([this, timeoutMs] { run(timeoutMs); }) {}

void DialogWatchdog::run(DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    HWND answered = nullptr;
    while (!stop_ && GetTickCount64() < end) {
        for (HWND dialog : processDialogs()) {
            // A dialog destroyed since it was listed is not a new one.
            if (!IsWindow(dialog) || dialog == answered) continue;
            answered = dialog;
            owner_ = GetWindow(dialog, GW_OWNER);
            ++seen_;
            answer_(dialog);
        }
        Sleep(20);
    }
    // A dialog nobody expected is closed all the same, so the test fails instead of hanging.
    for (HWND dialog : processDialogs())
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

std::string textOf(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

RECT clientRect(HWND dialog, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace msgtest
