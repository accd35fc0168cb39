// What the bar asks the system about its own process, answered by the test: the messages an elevated bar lets
// in, and the notice of a 32-bit bar on 64-bit Windows. Wine has neither; the real answers are read here too.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "app/platform_seams.h"
#include "kit/wait.h"

namespace {

std::vector<UINT> g_allowed;
bool g_elevated = false;
core::BitnessAnswer g_bitness;

BOOL WINAPI recordAllowed(HWND, UINT msg, DWORD action, void*) {
    if (action == 1) g_allowed.push_back(msg);
    return TRUE;
}

app::PlatformSeams answeredSeams() {
    return {[] { return g_elevated; }, recordAllowed, [] { return g_bitness; }};
}

class PlatformSeams : public ::testing::Test {
  protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "seams owner", WS_POPUP, 100, 100, 50, 20, nullptr, nullptr,
                                 nullptr, nullptr);
        g_allowed.clear();
    }
    void TearDown() override { DestroyWindow(owner_); }
    HWND owner_ = nullptr;
};

TEST_F(PlatformSeams, AnElevatedBarLetsInItsFourMessagesAndAnUnelevatedOneNone) {
    const UINT created = RegisterWindowMessageA("TaskbarCreated");
    g_elevated = true;
    EXPECT_EQ(app::admitMessagesFromOthers(owner_, created, answeredSeams()), 4);
    EXPECT_EQ(g_allowed, (std::vector<UINT>{1025, 1026, 1027, created}));
    g_allowed.clear();
    g_elevated = false;
    EXPECT_EQ(app::admitMessagesFromOthers(owner_, created, answeredSeams()), 0);
    EXPECT_TRUE(g_allowed.empty());
    // The real answers: the call exists here, and Wine's process is not elevated (nothing is let in).
    const app::PlatformSeams real = app::systemSeams();
    EXPECT_NE(real.allowMessage, nullptr);
    EXPECT_EQ(app::admitMessagesFromOthers(owner_, created, real), real.elevated() ? 4 : 0);
}

TEST_F(PlatformSeams, OnlyATranslatedBarShowsItsBitnessNoticeWithoutStoppingAnything) {
    g_bitness = {true, 0x014C, 0x8664, true};
    HWND balloon = app::tellBitness(owner_, {120, 110}, answeredSeams());
    ASSERT_NE(balloon, nullptr);
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(balloon) != FALSE; }));
    // Not modal: the owner still takes input, and the notice is a tip, not a dialog.
    EXPECT_TRUE(IsWindowEnabled(owner_));
    char className[64] = {};
    GetClassNameA(balloon, className, sizeof(className));
    EXPECT_STREQ(className, TOOLTIPS_CLASSA);
    DestroyWindow(balloon);
    g_bitness = {true, 0, 0x8664, false};
    EXPECT_EQ(app::tellBitness(owner_, {120, 110}, answeredSeams()), nullptr);
    // The real probe: the 64-bit test runs natively.
    EXPECT_FALSE(core::seesOnlyItsOwnBitness(app::systemSeams().bitness()));
}

} // namespace
