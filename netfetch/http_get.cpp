// One GET against the message server; the body goes to a window as one message. Every call opens and
// closes its own session, so the library keeps nothing between calls and can be unloaded after any call.
// The library is built without the C++ runtime: nothing here throws, and memory comes from the heap.
#include <windows.h>
#include <wininet.h>

#include <cstring>

#include "core/program_name.h"
#include "core/server_address_rule.h"
#include "netfetch/cvil.h"
#include "netfetch/heap_buffer.h"
#include "netfetch/internet_handle.h"

namespace {

constexpr const char* kUserAgent = core::kProgramName;
// Always from the server, never into the cache, with "Pragma: no-cache", connection kept alive.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_PRAGMA_NOCACHE;
static_assert(kRequestFlags == 0x84400100, "request flags");
constexpr DWORD kStatusTextSize = 32;
constexpr DWORD kDrainChunk = 50;
constexpr DWORD kReadChunk = 2048;
// A proxy's credentials dialog: filter for errors, change options, generate data.
constexpr DWORD kErrorDlgFlags = FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                                 FLAGS_ERROR_UI_FLAGS_GENERATE_DATA;
// Paths are short and fixed; a longer one is refused rather than canonicalised.
constexpr size_t kMaxPath = INTERNET_MAX_PATH_LENGTH;

// Nobody reads these lines; a debugger shows them.
void diagnose(const char* format, int value) {
    // As large as the formatter ever writes, so no format can overrun it.
    char line[1025];
    wsprintfA(line, format, value);
    OutputDebugStringA(line);
}

struct ServerAddress {
    char host[core::kMaxServerHost + 1];
    uint16_t port;
    bool secure;
};
static_assert(sizeof(CORVANE_MESSAGE_SERVER_HOST) <= core::kMaxServerHost + 1, "built-in host name");

void messageServer(ServerAddress& server) {
    char text[300] = {};
    const DWORD length = GetEnvironmentVariableA(cvil::kServerVariable, text, sizeof text);
    if (length > 0 && length < sizeof text) {
        if (core::parseServerAddress(text, length, server.host, sizeof server.host, &server.port,
                                     &server.secure))
            return;
        diagnose("Ignored a malformed CORVANE_MESSAGE_SERVER, length:%d\n", static_cast<int>(length));
    }
    lstrcpynA(server.host, CORVANE_MESSAGE_SERVER_HOST, sizeof server.host);
    server.port = core::kDefaultServerPort;
    server.secure = false;
}

// Spaces become %20; nothing else is escaped and nothing is decoded.
bool canonicalPath(const char* path, cvil::HeapBuffer& canonical) {
    const size_t length = std::strlen(path);
    if (length > kMaxPath) return false;
    if (!canonical.reserve(3 * length + 1)) return false;
    DWORD size = static_cast<DWORD>(canonical.capacity());
    if (!InternetCanonicalizeUrlA(path, canonical.data(), &size, ICU_ENCODE_SPACES_ONLY)) {
        const DWORD error = GetLastError();
        diagnose("Failed in call to InternetCanonicalizeUrl, Error:%d\n", static_cast<int>(error));
        return false;
    }
    return true;
}

struct Exchange {
    bool secure = false;
    cvil::InternetHandle session;
    cvil::InternetHandle connection;
    cvil::InternetHandle request;
};

// No status callback is registered: the library is freed right after the call, and a callback left with
// the system would point into code that is gone.
bool openSession(Exchange& x) {
    x.session.reset(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!x.session) {
        const DWORD error = GetLastError();
        diagnose("Failed in call to InternetOpen, Error:%d\n", static_cast<int>(error));
        return false;
    }
    ServerAddress server;
    messageServer(server);
    x.secure = server.secure;
    x.connection.reset(InternetConnectA(x.session.get(), server.host, server.port, nullptr, nullptr,
                                        INTERNET_SERVICE_HTTP, 0, 0));
    if (!x.connection) {
        const DWORD error = GetLastError();
        diagnose("Failed in call to InternetConnect, Error:%d\n", static_cast<int>(error));
        return false;
    }
    return true;
}

bool openRequest(Exchange& x, const char* path) {
    cvil::HeapBuffer canonical;
    if (!canonicalPath(path, canonical)) return false;
    const char* accept[] = {"*/*", nullptr};
    // Over TLS the system checks the certificate and refuses what it does not trust; no flag here waives
    // a check, and no redirect is followed, so nothing can lead the request back to plain HTTP.
    const DWORD flags =
        x.secure ? kRequestFlags | INTERNET_FLAG_SECURE | INTERNET_FLAG_NO_AUTO_REDIRECT : kRequestFlags;
    x.request.reset(
        HttpOpenRequestA(x.connection.get(), nullptr, canonical.data(), nullptr, nullptr, accept, flags, 0));
    if (!x.request) {
        const DWORD error = GetLastError();
        diagnose("Failed in call to HttpOpenRequest, Error:%d\n", static_cast<int>(error));
        return false;
    }
    return true;
}

bool sendRequest(HINTERNET request) {
    if (!HttpSendRequestA(request, nullptr, 0, nullptr, 0)) {
        const DWORD error = GetLastError();
        diagnose("Failed in call to HttpSendRequest, Error:%d\n", static_cast<int>(error));
        return false;
    }
    return true;
}

// The status code from its leading decimal digits; -1 when the query fails.
int queryStatus(HINTERNET request) {
    char text[kStatusTextSize] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE, text, &size, nullptr)) {
        const DWORD error = GetLastError();
        diagnose("Failed in call to HttpQueryInfo for HTTP query status code, Error:%d\n",
                 static_cast<int>(error));
        return -1;
    }
    int status = 0;
    for (size_t i = 0; i < sizeof text && text[i] >= '0' && text[i] <= '9' && status < 100000; ++i) {
        status = status * 10 + (text[i] - '0');
    }
    return status;
}

// Reads what is left of an answer and throws it away. A refusal longer than any body we would accept is
// not a refusal worth answering: without the limit, a server that never ends it keeps this thread forever.
bool drain(HINTERNET request) {
    char chunk[kDrainChunk];
    DWORD read = 0;
    size_t total = 0;
    while (InternetReadFile(request, chunk, sizeof chunk, &read) && read > 0) {
        total += read;
        if (total > cvil::kMaxBody) {
            diagnose("Refused a body longer than %d bytes\n", static_cast<int>(cvil::kMaxBody));
            return false;
        }
    }
    return true;
}

// Sends the request until the answer is 200, or a proxy's credentials refusal the user chose not to answer.
// False when a step failed or the answer is anything else. The server's own refusal (401) is a failure like
// any other: whoever answers in its place must not be able to ask the user for a password, unasked, in a
// dialog that looks like the system's. The proxy is the user's own setting, and keeps its dialog.
bool obtainAnswer(HINTERNET request, HWND window) {
    if (!sendRequest(request)) return false;
    for (;;) {
        const int status = queryStatus(request);
        if (status < 0) return false;
        if (status == HTTP_STATUS_OK) return true;
        if (status != HTTP_STATUS_PROXY_AUTH_REQ) {
            diagnose("Failed to retrieve a HTTP 200 status, Status Code:%d\n", status);
            return false;
        }
        if (!drain(request)) return false;
        const DWORD choice =
            InternetErrorDlg(window, request, ERROR_INTERNET_INCORRECT_PASSWORD, kErrorDlgFlags, nullptr);
        if (choice != ERROR_INTERNET_FORCE_RETRY) return true;
        if (!sendRequest(request)) return false;
    }
}

bool readBody(HINTERNET request, cvil::HeapBuffer& body) {
    char chunk[kReadChunk];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request, chunk, sizeof chunk, &read)) {
            const DWORD error = GetLastError();
            diagnose("Failed in call to InternetReadFile, Error:%d\n", static_cast<int>(error));
            return false;
        }
        if (read == 0) return true;
        if (body.size() + read > cvil::kMaxBody) {
            diagnose("Refused a body longer than %d bytes\n", static_cast<int>(cvil::kMaxBody));
            return false;
        }
        if (!body.append(chunk, read)) return false;
    }
}

int httpGet(const char* path, HWND window, int mode) {
    if (!path) return 0;
    Exchange x;
    if (!openSession(x) || !openRequest(x, path)) return 0;
    if (!obtainAnswer(x.request.get(), window)) return 0;
    cvil::HeapBuffer body;
    if (!readBody(x.request.get(), body)) return 0;
    if (body.empty()) return 1;
    if (!body.append("", 1)) return 0;
    if (IsWindow(window)) {
        SendMessageA(window, cvil::kReplyMessage, reinterpret_cast<WPARAM>(body.data()),
                     static_cast<LPARAM>(mode));
    }
    return 1;
}

} // namespace

// Exported as "_HTTPGet" by the module definition file. Out of memory for a buffer is a failed exchange
// like any other: 0.
extern "C" int WINAPI cvilHttpGet(const char* path, HWND window, int mode) {
    return httpGet(path, window, mode);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
