// Ownership of WinINet handles (sessions, connections, requests): closed once, on every path.
#pragma once
#include <windows.h>
#include <wininet.h>

#include "win/handle.h"

namespace cvil {

struct InternetTraits {
    using type = HINTERNET;
    static constexpr HINTERNET none() { return nullptr; }
    static void close(HINTERNET h) { InternetCloseHandle(h); }
};

using InternetHandle = win::Handle<InternetTraits>;

} // namespace cvil
