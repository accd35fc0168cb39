#include "message_server_support.h"

#include <wininet.h>
#include <winsock2.h>

#include <cstdio>
#include <cstdlib>

namespace msgtest {

namespace {

std::string unixDir(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    return value && *value ? value : fallback;
}

int readPortFile(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return 0;
    int port = 0;
    if (std::fscanf(f, "%d", &port) != 1) port = 0;
    std::fclose(f);
    return port;
}

} // namespace

bool MessageServer::start(const std::string& options) {
    static int serial = 0;
    const std::string portFile = unixDir("CORVANE_BIN", "/tmp") + "/message-server-" +
                                 std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) +
                                 ".port";
    DeleteFileA(kit::windowsPath(portFile).c_str());
    // Wine starts a Linux program directly; it gets no process handle, so it is stopped through /quit.
    std::string command = "Z:\\usr\\bin\\python3 " CORVANE_SOURCE_DIR
                          "/tools/message-server/message_server.py "
                          "--idle-exit 300 --port-file " +
                          portFile + " " + options;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return false;
    }
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    const std::string file = kit::windowsPath(portFile);
    const bool up = kit::waitFor([&] { return (port_ = readPortFile(file)) > 0; }, 15000);
    DeleteFileA(file.c_str());
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

std::string MessageServer::address() const {
    return "127.0.0.1:" + std::to_string(port_);
}

void MessageServer::useForThisProcess() const {
    SetEnvironmentVariableA("CORVANE_MESSAGE_SERVER", address().c_str());
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

} // namespace msgtest

namespace msgtest {

namespace {

BOOL CALLBACK collectDialog(HWND hwnd, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) && std::string(cls) == "#32770") {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> processDialogs() {
    std::vector<HWND> found;
    EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

DialogWatchdog::DialogWatchdog(std::function<void(HWND)> answer, DWORD timeoutMs)
    : answer_(std::move(answer)), timeoutMs_(timeoutMs) {
    thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

DialogWatchdog::~DialogWatchdog() {
    InterlockedExchange(&stop_, 1);
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
}

DWORD WINAPI DialogWatchdog::run(void* param) {
    auto* self = static_cast<DialogWatchdog*>(param);
    const ULONGLONG end = GetTickCount64() + self->timeoutMs_;
    HWND answered = nullptr;
    while (!self->stop_ && GetTickCount64() < end) {
        for (HWND dialog : processDialogs()) {
            // A dialog destroyed since it was listed is not a new one.
            if (!IsWindow(dialog) || dialog == answered) continue;
            answered = dialog;
            self->owner_ = GetWindow(dialog, GW_OWNER);
            InterlockedIncrement(&self->seen_);
            self->answer_(dialog);
        }
        Sleep(20);
    }
    // A dialog nobody expected is closed all the same, so the test fails instead of hanging.
    for (HWND dialog : processDialogs())
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
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
