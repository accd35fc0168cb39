#include "core/server_address.h"

namespace core {

namespace {

bool validHost(std::string_view host) {
    constexpr size_t kMaxHost = 253;
    if (host.empty() || host.size() > kMaxHost) return false;
    for (char c : host) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                        c == '-' || c == '_';
        if (!ok) return false;
    }
    return true;
}

std::optional<uint16_t> parsePort(std::string_view text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    uint32_t port = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + static_cast<uint32_t>(c - '0');
    }
    if (port == 0 || port > 65535) return std::nullopt;
    return static_cast<uint16_t>(port);
}

} // namespace

std::optional<ServerAddress> parseServerAddress(std::string_view text) {
    ServerAddress address;
    const size_t colon = text.find(':');
    std::string_view host = text.substr(0, colon);
    if (colon != std::string_view::npos) {
        auto port = parsePort(text.substr(colon + 1));
        if (!port) return std::nullopt;
        address.port = *port;
    }
    if (!validHost(host)) return std::nullopt;
    address.host = std::string(host);
    return address;
}

} // namespace core
