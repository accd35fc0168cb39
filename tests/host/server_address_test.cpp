#include "core/server_address.h"

#include <gtest/gtest.h>

#include <cstring>

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
    EXPECT_FALSE(b->secure);
}

// TLS only where asked for by its scheme, with its own default port; a plain scheme changes nothing.
TEST(ServerAddress, TheSchemeChoosesTlsAndItsDefaultPort) {
    struct Case {
        const char* text;
        const char* host;
        int port;
        bool secure;
    };
    const Case cases[] = {{"https://messages.example", "messages.example", 443, true},
                          {"HTTPS://127.0.0.1:8443", "127.0.0.1", 8443, true},
                          {"http://h", "h", 80, false},
                          {"Http://h:81", "h", 81, false}};
    for (const Case& c : cases) {
        auto a = core::parseServerAddress(c.text);
        ASSERT_TRUE(a) << c.text;
        EXPECT_EQ(a->host, c.host) << c.text;
        EXPECT_EQ(a->port, c.port) << c.text;
        EXPECT_EQ(a->secure, c.secure) << c.text;
    }
    for (const char* bad :
         {"https://", "https:host", "https://h/", "ftp://h", "https://https://h", "https//h"})
        EXPECT_FALSE(core::parseServerAddress(bad)) << bad;
}

TEST(ServerAddress, RefusesWhatCannotBeAHostOrAPort) {
    for (const char* bad : {"", ":80", "host:", "host:0", "host:65536", "host:8o", "host:123456", "host:-1",
                            "a b", "host/path", "host:80:81", "user@host", "[::1]:80", "host\r"}) {
        EXPECT_FALSE(core::parseServerAddress(bad)) << bad;
    }
    EXPECT_FALSE(core::parseServerAddress(std::string(254, 'a')));
    EXPECT_TRUE(core::parseServerAddress(std::string(253, 'a')));
}

// The character form, as the fetch library calls it: a length, not a terminator, and a caller's buffer.
TEST(ServerAddress, CharacterFormReadsOnlyItsLengthAndNeedsRoomForTheNul) {
    char host[16];
    uint16_t port = 0;
    bool secure = true;
    ASSERT_TRUE(core::parseServerAddress("example:8080junk", 12, host, sizeof host, &port, &secure));
    EXPECT_STREQ(host, "example");
    EXPECT_EQ(port, 8080);
    EXPECT_FALSE(secure);
    ASSERT_TRUE(core::parseServerAddress("example!", 7, host, sizeof host, &port, &secure));
    EXPECT_EQ(port, 80);
    const char* fifteen = "abcdefghijklmno";
    ASSERT_TRUE(core::parseServerAddress(fifteen, 15, host, 16, &port, &secure));
    EXPECT_STREQ(host, fifteen);
    EXPECT_FALSE(core::parseServerAddress(fifteen, 15, host, 15, &port, &secure));
    EXPECT_FALSE(core::parseServerAddress("x", 1, host, 0, &port, &secure));
}

TEST(ServerAddress, CharacterFormLeavesItsOutputsAloneWhenItRefuses) {
    char host[8] = "before";
    uint16_t port = 1234;
    bool secure = true;
    for (const char* bad : {"a b", "host:0", "host:", "toolongname:80", "ok:8o", "https://"}) {
        EXPECT_FALSE(core::parseServerAddress(bad, std::strlen(bad), host, sizeof host, &port, &secure))
            << bad;
        EXPECT_STREQ(host, "before") << bad;
        EXPECT_EQ(port, 1234) << bad;
        EXPECT_TRUE(secure) << bad;
    }
    // A NUL inside the length is a character like any other, and no host character.
    EXPECT_FALSE(core::parseServerAddress("ab\0cd", 5, host, sizeof host, &port, &secure));
}

} // namespace
