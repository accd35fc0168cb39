// Where the message server lives: a host name with an optional port, as given to the build or in the
// environment ("host", "host:port" or "https://host[:port]").
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/server_address_rule.h"

namespace core {

struct ServerAddress {
    std::string host;
    uint16_t port = kDefaultServerPort;
    bool secure = false;
};

// The rule of server_address_rule.h, for callers that hold strings.
std::optional<ServerAddress> parseServerAddress(std::string_view text);

} // namespace core
