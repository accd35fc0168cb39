// Checked element access: a walk that reads past the end fails here instead of reading freed memory.
#define _GLIBCXX_ASSERTIONS 1
#include "core/browser_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct FakeEntry {
    int window = 0;
    std::string title;
    int buttonRect = 0;
};
using List = core::WindowList<FakeEntry>;

List listOf(std::initializer_list<int> windows) {
    List l;
    for (int w : windows)
        l.append(w, "w" + std::to_string(w));
    return l;
}

std::vector<int> windowsOf(const List& l) {
    std::vector<int> out;
    for (const auto& e : l.entries)
        out.push_back(e.window);
    return out;
}

TEST(WindowList, EnumerationInsertsAtTheFrontAndLaterWindowsAreAppended) {
    List l;
    // Enumerated front-most first: 1, 2, 3.
    for (int w : {1, 2, 3})
        l.insertFront(w, "");
    l.append(4, "");
    EXPECT_EQ(windowsOf(l), (std::vector<int>{3, 2, 1, 4}));
}

TEST(WindowList, DuplicatesAreKeptAndLookupAndRemovalTakeTheFirst) {
    List l = listOf({5, 7, 5});
    l.entries[2].title = "second";
    EXPECT_EQ(l.find(5), 0);
    EXPECT_EQ(l.find(9), -1);
    l.removeAt(l.find(5));
    EXPECT_EQ(windowsOf(l), (std::vector<int>{7, 5}));
    EXPECT_EQ(l.entries[1].title, "second");
    l.removeAt(-1);
    l.removeAt(2);
    EXPECT_EQ(l.count(), 2);
    std::vector<int> hits;
    List d = listOf({5, 7, 5});
    d.forEachIndexOf(5, [&](int i) { hits.push_back(i); });
    EXPECT_EQ(hits, (std::vector<int>{0, 2}));
}

TEST(WindowList, WalksRunLastToFirstOrFirstToLast) {
    List l = listOf({1, 2, 3});
    std::vector<int> down, up;
    l.forEachLastToFirst([&](int w) { down.push_back(w); });
    l.forEachFirstToLast([&](int w) { up.push_back(w); });
    EXPECT_EQ(down, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(up, (std::vector<int>{1, 2, 3}));
}

// A fake window operation that, like a shell event delivered while the bar waits inside ShowWindow on another
// process's window, changes the list in the middle of the walk. Every visited window must be listed at the
// moment it is visited: a read past the end would hand over a stale or garbage handle.
struct ReentrantOps {
    List& list;
    std::vector<int> visited;
    void check(int w) {
        visited.push_back(w);
        EXPECT_NE(list.find(w), -1) << "visited a window that is not listed: " << w;
    }
};

TEST(WindowList, BackwardWalkSurvivesEntriesDestroyedDuringAVisit) {
    List l = listOf({1, 2, 3, 4, 5, 6});
    ReentrantOps ops{l, {}};
    l.forEachLastToFirst([&](int w) {
        ops.check(w);
        if (w == 5) {
            // Closing 5 destroys it and its neighbours on both sides.
            for (int gone : {4, 5, 6})
                l.removeAt(l.find(gone));
        }
    });
    EXPECT_EQ(ops.visited, (std::vector<int>{6, 5, 3, 2, 1}));
    EXPECT_EQ(windowsOf(l), (std::vector<int>{1, 2, 3}));
}

TEST(WindowList, BackwardWalkStopsWhenTheListEmptiesUnderIt) {
    List l = listOf({1, 2, 3, 4});
    ReentrantOps ops{l, {}};
    l.forEachLastToFirst([&](int w) {
        ops.check(w);
        l.clear();
    });
    EXPECT_EQ(ops.visited, (std::vector<int>{4}));
}

TEST(WindowList, BackwardWalkSurvivesGrowthThatMovesTheStorage) {
    List l = listOf({1, 2, 3});
    l.entries.shrink_to_fit();
    ReentrantOps ops{l, {}};
    int created = 100;
    l.forEachLastToFirst([&](int w) {
        ops.check(w);
        // Each visit brings a created event for a new window and one at the front: the storage is reallocated
        // while the visitor still runs, and entries shift under the walk.
        l.append(created++, "new");
        l.insertFront(created++, "front");
    });
    // Shifted entries are visited again rather than skipped; the walk never runs past the start.
    EXPECT_EQ(ops.visited.front(), 3);
    EXPECT_EQ(l.count(), 3 + 2 * static_cast<int>(ops.visited.size()));
}

TEST(WindowList, ForwardWalkSeesEntriesAddedAndSkipsNothingThatStays) {
    List l = listOf({1, 2, 3});
    ReentrantOps ops{l, {}};
    bool added = false;
    l.forEachFirstToLast([&](int w) {
        ops.check(w);
        if (w == 1 && !added) {
            added = true;
            for (int i = 0; i < 40; ++i)
                l.append(50 + i, "");
        }
        if (w == 2) l.removeAt(l.find(2));
    });
    // 2 went away while visited, so 3 moved to its index and is skipped; the rest is seen, the new ones too.
    ASSERT_EQ(ops.visited.size(), 42u);
    EXPECT_EQ(ops.visited[0], 1);
    EXPECT_EQ(ops.visited[1], 2);
    EXPECT_EQ(ops.visited[2], 50);
    EXPECT_EQ(ops.visited.back(), 89);
}

TEST(WindowList, RetitleWalkSurvivesRemovalOfTheEntriesItVisits) {
    List l = listOf({8, 8, 9, 8});
    std::vector<int> indices;
    l.forEachIndexOf(8, [&](int i) {
        indices.push_back(i);
        l.removeAt(i);
    });
    // The second 8 moved onto the index just visited and is skipped; nothing past the end is read.
    EXPECT_EQ(indices, (std::vector<int>{0, 2}));
    EXPECT_EQ(windowsOf(l), (std::vector<int>{8, 9}));
}

// The index answers lookups that used to walk the list: after any mix of changes, with windows listed twice,
// it must give what a walk gives.
TEST(WindowList, TheIndexAnswersAsAWalkWouldThroughEveryChangeMovesIncluded) {
    List l;
    unsigned seed = 7;
    auto next = [&](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % range);
    };
    for (int step = 0; step < 400; ++step) {
        int w = next(12);
        switch (next(5)) {
        case 0:
            l.insertFront(w, "");
            break;
        case 1:
            l.removeAt(next(static_cast<unsigned>(l.count()) + 1));
            break;
        case 2: {
            // A place one past the end is refused and moves nothing.
            const int from = next(static_cast<unsigned>(l.count()) + 1);
            const int to = next(static_cast<unsigned>(l.count()) + 1);
            const std::vector<int> before = windowsOf(l);
            const bool moved = l.move(from, to);
            ASSERT_EQ(moved, from < l.count() && to < l.count());
            if (moved) {
                std::vector<int> expected = before;
                expected.erase(expected.begin() + from);
                expected.insert(expected.begin() + to, before[static_cast<size_t>(from)]);
                ASSERT_EQ(windowsOf(l), expected) << "move " << from << " to " << to;
            } else {
                ASSERT_EQ(windowsOf(l), before);
            }
            break;
        }
        default:
            l.append(w, "");
            break;
        }
        for (int probe = 0; probe < 12; ++probe) {
            std::vector<int> walked, indexed;
            for (int i = 0; i < l.count(); ++i)
                if (l.entries[static_cast<size_t>(i)].window == probe) walked.push_back(i);
            l.forEachIndexOf(probe, [&](int i) { indexed.push_back(i); });
            ASSERT_EQ(indexed, walked) << "window " << probe << " after step " << step;
            EXPECT_EQ(l.find(probe), walked.empty() ? -1 : walked.front());
            EXPECT_EQ(l.findLast(probe), walked.empty() ? -1 : walked.back());
        }
    }
    l.clear();
    EXPECT_EQ(l.find(3), -1);
}

} // namespace
