#include "core/platform_notices.h"

#include <gtest/gtest.h>

namespace {

TEST(PlatformNotices, AnElevatedBarAdmitsExactlyTheMessagesOthersSendIt) {
    EXPECT_EQ(core::messagesToAdmit(true, 0xC0F3), (std::vector<uint32_t>{1025, 1026, 1027, 0xC0F3}));
    EXPECT_EQ(core::messagesToAdmit(true, 0), (std::vector<uint32_t>{1025, 1026, 1027}));
    EXPECT_TRUE(core::messagesToAdmit(false, 0xC0F3).empty());
}

TEST(PlatformNotices, OnlyABarTranslatedOnAWiderSystemTellsItsBitness) {
    constexpr uint16_t kI386 = 0x014C, kAmd64 = 0x8664, kArm64 = 0xAA64;
    const std::pair<core::BitnessAnswer, bool> cases[] = {
        {{true, 0, kAmd64, false}, false},   // 64-bit bar on 64-bit Windows
        {{true, kI386, kAmd64, true}, true}, // 32-bit bar on 64-bit Windows
        {{true, kI386, kArm64, true}, true}, // 32-bit bar on ARM Windows
        {{true, 0, kI386, false}, false},    // 32-bit bar on 32-bit Windows
        {{false, 0, 0, true}, true},         // older systems: only the yes or no
        {{false, 0, 0, false}, false},
    };
    for (const auto& [answer, tells] : cases)
        EXPECT_EQ(core::seesOnlyItsOwnBitness(answer), tells)
            << answer.processMachine << " " << answer.nativeMachine;
}

} // namespace
