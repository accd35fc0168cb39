#include "core/pending_windows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Pending = core::PendingWindows<int>;
constexpr std::uint32_t kLife = Pending::kLifetimeMs;

std::vector<int> seen(Pending& p, std::uint32_t now, std::vector<int> readyOnes) {
    std::vector<int> out;
    p.recheck(now, [&](int h) {
        out.push_back(h);
        for (int r : readyOnes)
            if (r == h) return true;
        return false;
    });
    return out;
}

TEST(PendingWindows, ReadyWindowsLeaveAndTheOthersStayUntilTheirLifetimeEnds) {
    Pending p;
    p.add(1, 100);
    p.add(2, 5000);
    p.add(1, 9000); // reported again: keeps its first time
    EXPECT_EQ(seen(p, 200, {2}), (std::vector<int>{1, 2}));
    EXPECT_TRUE(p.contains(1));
    EXPECT_FALSE(p.contains(2));
    EXPECT_EQ(seen(p, 100 + kLife - 1, {}), std::vector<int>{1});
    EXPECT_FALSE(p.empty());
    seen(p, 100 + kLife, {});
    EXPECT_TRUE(p.empty());
}

TEST(PendingWindows, TheLifetimeCountsAcrossTheTickCounterWrappingAndRemovalIsByHandle) {
    Pending p;
    const std::uint32_t late = 0xFFFFFF00u;
    p.add(7, late);
    p.add(8, late);
    p.remove(8);
    EXPECT_EQ(seen(p, late + 0x200u, {}), std::vector<int>{7}); // wrapped, 512 ms later
    EXPECT_TRUE(p.contains(7));
    seen(p, late + kLife, {});
    EXPECT_TRUE(p.empty());
}

TEST(PendingWindows, TheCheckMayChangeTheListWhileItRuns) {
    Pending p;
    p.add(1, 0);
    p.add(2, 0);
    std::vector<int> visited;
    p.recheck(10, [&](int h) {
        visited.push_back(h);
        p.remove(2);
        p.add(3, 10);
        return h == 1;
    });
    EXPECT_EQ(visited, std::vector<int>{1}); // 2 went before its turn
    EXPECT_FALSE(p.contains(1));
    EXPECT_TRUE(p.contains(3));
}

} // namespace
