#include "core/server_address.h"

#include <gtest/gtest.h>

namespace {

TEST(ServerAddress, HostAloneKeepsPortEightyAndAPortCanBeGiven) {
    auto a = core::parseServerAddress("messages.corvane.invalid");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "messages.corvane.invalid");
    EXPECT_EQ(a->port, 80);
    auto b = core::parseServerAddress("127.0.0.1:54321");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->host, "127.0.0.1");
    EXPECT_EQ(b->port, 54321);
    EXPECT_EQ(core::parseServerAddress("h:65535")->port, 65535);
}

TEST(ServerAddress, RefusesWhatCannotBeAHostOrAPort) {
    for (const char* bad : {"", ":80", "host:", "host:0", "host:65536", "host:8o", "host:123456", "host:-1",
                            "a b", "host/path", "host:80:81", "user@host", "[::1]:80", "host\r"}) {
        EXPECT_FALSE(core::parseServerAddress(bad)) << bad;
    }
    EXPECT_FALSE(core::parseServerAddress(std::string(254, 'a')));
    EXPECT_TRUE(core::parseServerAddress(std::string(253, 'a')));
}

} // namespace
