// The tracked browser windows in button order, and the walks over them.
//
// The list is touched only on the bar's thread. The bar's calls on browser windows leave the work to those
// windows' threads and do not wait, but any call that waits for another thread lets messages sent to the bar
// be handled meanwhile, and such a message may add or remove entries in the middle of a walk. So a walk
// re-reads the number of entries at every step, never touches an entry past the current end, and hands the
// visitor a copy of the window handle, never a reference into the storage (which may move when it grows).
//
// An event names a window, and with a thousand windows listed a walk to find it would cost more than the
// event's own work: an index from each window to the positions of its entries answers instead. A window may
// be listed twice; the index keeps all its positions in list order, so "the first entry" and "every entry"
// mean what they meant in the walk. Entries are added and removed only through the members below, which keep
// the index.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace core {

// Entry is a record with at least a `window` handle and a `title` text.
template <class Entry> class WindowList {
  public:
    using Window = decltype(Entry::window);

    std::vector<Entry> entries;

    int count() const noexcept { return static_cast<int>(entries.size()); }
    bool empty() const noexcept { return entries.empty(); }
    bool validIndex(int index) const noexcept { return index >= 0 && index < count(); }

    // Index of the first entry of the window, or -1.
    int find(Window window) const {
        ++visits_;
        auto it = where_.find(window);
        return it == where_.end() ? -1 : it->second.front();
    }

    // Index of the last entry of the window, or -1.
    int findLast(Window window) const {
        ++visits_;
        auto it = where_.find(window);
        return it == where_.end() ? -1 : it->second.back();
    }

    Entry& append(Window window, std::string title) {
        entries.push_back(makeEntry(window, std::move(title)));
        where_[window].push_back(count() - 1);
        ++changes_;
        return entries.back();
    }

    // Used while the list is filled at start-up; every other entry moves up one place.
    Entry& insertFront(Window window, std::string title) {
        entries.insert(entries.begin(), makeEntry(window, std::move(title)));
        for (auto& place : where_)
            for (int& i : place.second)
                ++i;
        visits_ += static_cast<std::uint64_t>(count());
        where_[window].insert(where_[window].begin(), 0);
        ++changes_;
        return entries.front();
    }

    void removeAt(int index) {
        if (!validIndex(index)) return;
        forget(entries[static_cast<std::size_t>(index)].window, index);
        entries.erase(entries.begin() + index);
        // The entries behind close the gap: each one's place in the index moves down with it.
        for (int i = index; i < count(); ++i) {
            std::vector<int>& places = where_[entries[static_cast<std::size_t>(i)].window];
            *std::find(places.begin(), places.end(), i + 1) = i;
        }
        visits_ += static_cast<std::uint64_t>(count() - index);
        ++changes_;
    }

    // Moves the entry at `from` to `to`, the entries between closing up behind it: the user's own order.
    // False, and nothing moved, for a place outside the list.
    bool move(int from, int to) {
        if (!validIndex(from) || !validIndex(to)) return false;
        if (from == to) return true;
        const auto first = entries.begin() + std::min(from, to);
        const auto last = entries.begin() + std::max(from, to) + 1;
        if (from < to) {
            std::rotate(first, first + 1, last);
        } else {
            std::rotate(first, last - 1, last);
        }
        // Only the places between the two moved: those are taken out of their windows' positions and put
        // back as they are now, each window's kept in list order.
        const int lo = std::min(from, to), hi = std::max(from, to);
        for (int i = lo; i <= hi; ++i) {
            std::vector<int>& places = where_[entries[static_cast<std::size_t>(i)].window];
            places.erase(
                std::remove_if(places.begin(), places.end(), [&](int p) { return p >= lo && p <= hi; }),
                places.end());
        }
        for (int i = lo; i <= hi; ++i) {
            std::vector<int>& places = where_[entries[static_cast<std::size_t>(i)].window];
            places.insert(std::upper_bound(places.begin(), places.end(), i), i);
        }
        visits_ += static_cast<std::uint64_t>(2 * (hi - lo + 1));
        ++changes_;
        return true;
    }

    void clear() {
        entries.clear();
        where_.clear();
        ++changes_;
    }

    // Visits every entry's window from the last entry to the first.
    template <class Visit> void forEachLastToFirst(Visit&& visit) const {
        for (int i = count() - 1; i >= 0; --i) {
            if (i >= count()) continue; // entries went away during the previous visit
            ++visits_;
            visit(Window(entries[static_cast<std::size_t>(i)].window));
        }
    }

    // Visits every entry's window from the first entry to the last.
    template <class Visit> void forEachFirstToLast(Visit&& visit) const {
        for (int i = 0; i < count(); ++i) {
            ++visits_;
            visit(Window(entries[static_cast<std::size_t>(i)].window));
        }
    }

    // Visits the index of every entry of the window, first to last, without a walk over the others. The
    // visitor may change the list: the positions are read again at every step, so an entry that moved onto
    // a place already visited is skipped, as a walk would skip it.
    template <class Visit> void forEachIndexOf(Window window, Visit&& visit) const {
        for (std::size_t k = 0;; ++k) {
            auto it = where_.find(window);
            if (it == where_.end() || k >= it->second.size()) return;
            ++visits_;
            visit(it->second[k]);
        }
    }

    // Visits every entry in order for work that does not change the list (telling the tool tips).
    template <class Visit> void forEachEntry(Visit&& visit) const {
        for (int i = 0; i < count(); ++i) {
            ++visits_;
            visit(i, entries[static_cast<std::size_t>(i)]);
        }
    }

    // Counts every change of the entries: a layout made at one count is still right while it holds.
    std::uint64_t changes() const noexcept { return changes_; }
    // Entries visited so far, by walks, lookups and the index's upkeep: the work events cost.
    std::uint64_t visits() const noexcept { return visits_; }

  private:
    static Entry makeEntry(Window window, std::string title) {
        Entry e{};
        e.window = window;
        e.title = std::move(title);
        return e;
    }

    void forget(Window window, int index) {
        auto it = where_.find(window);
        if (it == where_.end()) return;
        it->second.erase(std::find(it->second.begin(), it->second.end(), index));
        if (it->second.empty()) where_.erase(it);
    }

    std::unordered_map<Window, std::vector<int>> where_;
    std::uint64_t changes_ = 0;
    mutable std::uint64_t visits_ = 0;
};

} // namespace core
