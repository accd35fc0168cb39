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

bool MessageServer::start(const std::string& options) {
    static int serial = 0;
    const char* bin = std::getenv("CORVANE_BIN");
    const std::string portFile = std::string(bin && *bin ? bin : "/tmp") + "/message-server-" +
                                 std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) +
                                 ".port";
    DeleteFileA(kit::windowsPath(portFile).c_str());
    // Wine starts a Linux program directly; it gets no process handle, so it is stopped through /quit.
    std::string command = "Z:\\usr\\bin\\python3 " CORVANE_SOURCE_DIR
                          "/tools/message-server/message_server.py "
                          "--idle-exit 300 --port-file " +
                          portFile + " " + options;
    if (!kit::Process().start(command)) return false;
    const std::string file = kit::windowsPath(portFile);
    const bool up = kit::waitFor([&] { return (port_ = readPortFile(file)) > 0; }, 15000);
    DeleteFileA(file.c_str());
    if (up) useForThisProcess();
    return up;
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
}

int MessageServer::requests() const {
    int count = -1;
    if (std::sscanf(fetch("/stats").c_str(), "requests=%d", &count) != 1) return -1;
    return count;
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
