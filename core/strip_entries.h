// Which of the tracked windows a strip shows a button for. The model keeps every window (the window-list
// menu and the commands over all windows still reach a hidden one); each strip asks here which entries get
// a button, and everything the strip does with buttons (layout, paint, tool tips, hit test, the screen
// reader's view) follows the answer. A new reason to leave a window out is a fact in EntryShowing and a
// switch in StripFilter, tested in one place.
#pragma once
#include <vector>

#include "core/settings.h"

namespace core {

// What is known of one listed window that may keep it off a strip.
struct EntryShowing {
    // Hidden by the compositor: the shell does that to the windows of the virtual desktops not in view.
    bool cloaked = false;
    // On a monitor whose own bar shows it: another strip's window.
    bool elsewhere = false;
};

// What a strip leaves out, by the settings it was made with.
struct StripFilter {
    bool currentDesktopOnly = true;
};

inline StripFilter stripFilterOf(const Settings& settings) {
    return {settings.currentDesktopOnly};
}

inline bool stripShows(const EntryShowing& entry, const StripFilter& filter) {
    return !entry.elsewhere && !(filter.currentDesktopOnly && entry.cloaked);
}

// The buttons of a strip, left to right: the list index of each button, and each entry's button (-1 for
// none). Made by one pass over the list in its order.
class StripSlots {
  public:
    // Entries holds records with the facts showingOf turns into an EntryShowing.
    template <class Entries, class ShowingOf>
    StripSlots(const Entries& entries, const StripFilter& filter, ShowingOf showingOf) {
        slotOf_.reserve(entries.size());
        for (const auto& entry : entries) {
            const bool shown = stripShows(showingOf(entry), filter);
            slotOf_.push_back(shown ? static_cast<int>(indexOf_.size()) : -1);
            if (shown) indexOf_.push_back(static_cast<int>(slotOf_.size()) - 1);
        }
    }
    StripSlots() = default;

    int count() const noexcept { return static_cast<int>(indexOf_.size()); }
    // The list index of a button; -1 outside the strip.
    int indexAt(int slot) const noexcept {
        return slot >= 0 && slot < count() ? indexOf_[static_cast<std::size_t>(slot)] : -1;
    }
    // The button of a list index; -1 for an entry left out or outside the list.
    int slotOf(int index) const noexcept {
        return index >= 0 && index < static_cast<int>(slotOf_.size())
                   ? slotOf_[static_cast<std::size_t>(index)]
                   : -1;
    }

  private:
    std::vector<int> indexOf_;
    std::vector<int> slotOf_;
};

} // namespace core
