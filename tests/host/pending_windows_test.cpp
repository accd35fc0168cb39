#include "core/pending_windows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Pending = core::PendingWindows<int>;
constexpr std::uint32_t kLife = Pending::kLifetimeMs;

// The windows handed to the check; those in `ready` say they are done.
std::vector<int> recheck(Pending& p, std::uint32_t now, std::vector<int> ready = {}) {
    std::vector<int> seen;
    p.recheck(now, [&](int h) {
        seen.push_back(h);
        for (int r : ready)
            if (r == h) return true;
        return false;
    });
    return seen;
}

TEST(PendingWindows, ReadyWindowsLeaveTheOthersStayTheirLifetimeCountedFromTheFirstReportAcrossAWrap) {
    Pending p;
    const std::uint32_t late = 0xFFFFFF00u; // the tick counter wraps 256 ms later
    p.add(1, late);
    p.add(2, late);
    p.add(1, late + 9000); // reported again: keeps its first time
    EXPECT_EQ(recheck(p, late + 512, {2}), (std::vector<int>{1, 2}));
    EXPECT_EQ(recheck(p, late + kLife - 1), std::vector<int>{1});
    EXPECT_TRUE(p.contains(1));
    recheck(p, late + kLife);
    EXPECT_TRUE(p.empty());
}

TEST(PendingWindows, AWindowRemovedBeforeOrDuringTheCheckIsNotHandedToIt) {
    Pending p;
    p.add(1, 0);
    p.add(2, 0);
    p.add(3, 0);
    p.remove(3);
    std::vector<int> seen;
    p.recheck(10, [&](int h) {
        seen.push_back(h);
        p.remove(2);
        p.add(4, 10);
        return h == 1;
    });
    EXPECT_EQ(seen, std::vector<int>{1});
    EXPECT_FALSE(p.contains(1));
    EXPECT_TRUE(p.contains(4));
}

} // namespace
