// What a caller of the HTTP fetch library needs: the entry point's name and type, and the reply message.
#pragma once
#include <windows.h>

namespace cvil {

constexpr const char* kLibraryFile = "cvil.dll";
constexpr const char* kEntryPoint = "_HTTPGet";

// Fetches path from the message server and sends a non-empty body to window as kReplyMessage
// (wParam: the NUL-terminated body, valid only during the message; lParam: mode). 1 when the exchange
// completed, 0 when a step failed.
using HttpGetFn = int(WINAPI*)(const char* path, HWND window, int mode);

// The entry point of a loaded library, or null.
inline HttpGetFn entryPoint(HMODULE library) {
    return reinterpret_cast<HttpGetFn>(reinterpret_cast<void*>(GetProcAddress(library, kEntryPoint)));
}

constexpr UINT kReplyMessage = WM_USER + 4;

// Bodies beyond this size are refused (result 0, nothing sent): a broken or hostile server must not
// exhaust the program's memory.
constexpr size_t kMaxBody = 1024 * 1024;

// Overrides the server built into the library: "host" or "host:port" over plain HTTP, or
// "https://host[:port]" over TLS with the system's certificate checks.
constexpr const char* kServerVariable = "CORVANE_MESSAGE_SERVER";

} // namespace cvil
