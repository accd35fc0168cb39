// The rule for "host", "host:port" and "https://host[:port]" on plain characters: no allocation and nothing
// from the standard library's compiled part, so that a library without the C++ runtime (cvil.dll) applies
// the very rule the rest of the program does.
#pragma once
#include <cstddef>
#include <cstdint>

namespace core {

constexpr uint16_t kDefaultServerPort = 80;
constexpr uint16_t kDefaultSecureServerPort = 443;
constexpr size_t kMaxServerHost = 253;

// The length of the scheme (lower case) when text starts with it in any letter case, else 0.
inline size_t schemeLength(const char* text, size_t length, const char* scheme) noexcept {
    size_t i = 0;
    for (; scheme[i] != '\0'; ++i) {
        if (i >= length) return 0;
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != scheme[i]) return 0;
    }
    return i;
}

// Accepts a host name or IPv4 address (letters, digits, '.', '-', '_'; at most kMaxServerHost characters)
// with an optional ":port" of 1 to 65535, after an optional "http://" or "https://" (any letter case);
// anything else is refused. Reads exactly `length` characters of `text`. On success `host` holds the
// NUL-terminated host name, `port` the port (without one kDefaultServerPort, or kDefaultSecureServerPort
// for https) and `secure` whether the exchange is to use TLS; a host that does not fit in `hostSize`
// characters with its NUL is refused. On refusal no output is touched.
inline bool parseServerAddress(const char* text, size_t length, char* host, size_t hostSize, uint16_t* port,
                               bool* secure) noexcept {
    size_t scheme = schemeLength(text, length, "https://");
    const bool tls = scheme > 0;
    if (!tls) scheme = schemeLength(text, length, "http://");
    text += scheme;
    length -= scheme;
    size_t hostLength = 0;
    while (hostLength < length && text[hostLength] != ':')
        ++hostLength;
    if (hostLength == 0 || hostLength > kMaxServerHost || hostLength >= hostSize) return false;
    for (size_t i = 0; i < hostLength; ++i) {
        const char c = text[i];
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '.' || c == '-' || c == '_';
        if (!ok) return false;
    }
    uint32_t number = tls ? kDefaultSecureServerPort : kDefaultServerPort;
    if (hostLength < length) {
        const size_t digits = length - hostLength - 1;
        if (digits == 0 || digits > 5) return false;
        number = 0;
        for (size_t i = hostLength + 1; i < length; ++i) {
            const char c = text[i];
            if (c < '0' || c > '9') return false;
            number = number * 10 + static_cast<uint32_t>(c - '0');
        }
        if (number == 0 || number > 65535) return false;
    }
    for (size_t i = 0; i < hostLength; ++i)
        host[i] = text[i];
    host[hostLength] = '\0';
    *port = static_cast<uint16_t>(number);
    *secure = tls;
    return true;
}

} // namespace core
