#include "core/server_address.h"

namespace core {

std::optional<ServerAddress> parseServerAddress(std::string_view text) {
    char host[kMaxServerHost + 1];
    uint16_t port = kDefaultServerPort;
    bool secure = false;
    if (!parseServerAddress(text.data(), text.size(), host, sizeof host, &port, &secure)) return std::nullopt;
    return ServerAddress{host, port, secure};
}

} // namespace core
