#include "core/strip_entries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Entry {
    bool cloaked;
};

// The list as a string, one letter per entry: 'c' cloaked, '.' on the desktop in view.
std::vector<Entry> entries(const std::string& marks) {
    std::vector<Entry> out;
    for (char m : marks)
        out.push_back({m == 'c'});
    return out;
}

TEST(StripEntries, EachButtonMapsToItsEntryAndBackWhateverTheFilterLeavesOut) {
    struct Case {
        const char* list;
        bool currentDesktopOnly;
        std::vector<int> indices; // of the buttons, left to right
    };
    const Case cases[] = {
        {"", true, {}},    {"...", true, {0, 1, 2}},      {"c.c.", true, {1, 3}},
        {"ccc", true, {}}, {"c.c.", false, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        const std::vector<Entry> list = entries(c.list);
        core::StripSlots slots(list, core::StripFilter{c.currentDesktopOnly},
                               [](const Entry& e) { return core::EntryShowing{e.cloaked}; });
        ASSERT_EQ(slots.count(), static_cast<int>(c.indices.size())) << c.list;
        std::vector<int> slotOf(list.size(), -1);
        for (int slot = 0; slot < slots.count(); ++slot) {
            EXPECT_EQ(slots.indexAt(slot), c.indices[static_cast<size_t>(slot)]) << c.list;
            slotOf[static_cast<size_t>(c.indices[static_cast<size_t>(slot)])] = slot;
        }
        for (size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(slots.slotOf(static_cast<int>(i)), slotOf[i]) << c.list << " entry " << i;
        // Past either end: no button, no entry.
        EXPECT_EQ(slots.indexAt(-1), -1);
        EXPECT_EQ(slots.indexAt(slots.count()), -1);
        EXPECT_EQ(slots.slotOf(-1), -1);
        EXPECT_EQ(slots.slotOf(static_cast<int>(list.size())), -1);
    }
}

TEST(StripEntries, TheFilterComesFromTheDesktopSetting) {
    core::Settings s;
    EXPECT_TRUE(core::stripFilterOf(s).currentDesktopOnly);
    s.currentDesktopOnly = false;
    EXPECT_TRUE(core::stripShows({true}, core::stripFilterOf(s)));
}

} // namespace
