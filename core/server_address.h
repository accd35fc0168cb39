// Where the message server lives: a host name with an optional port, as given to the build or in the
// environment ("host" or "host:port").
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

constexpr uint16_t kDefaultServerPort = 80;

struct ServerAddress {
    std::string host;
    uint16_t port = kDefaultServerPort;
};

// Accepts a host name or IPv4 address (letters, digits, '.', '-', '_'; at most 253 characters) with an
// optional ":port" of 1 to 65535; anything else is refused.
std::optional<ServerAddress> parseServerAddress(std::string_view text);

} // namespace core
