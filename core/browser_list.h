// The tracked browser windows in button order, and the walks over them.
//
// The list is touched only on the bar's thread. The bar's calls on browser windows leave the work to those
// windows' threads and do not wait, but any call that waits for another thread lets messages sent to the bar
// be handled meanwhile, and such a message may add or remove entries in the middle of a walk. So a walk
// re-reads the number of entries at every step, never touches an entry past the current end, and hands the
// visitor a copy of the window handle, never a reference into the storage (which may move when it grows).
#pragma once
#include <cstddef>
#include <string>
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
    int find(Window window) const noexcept {
        for (int i = 0; i < count(); ++i)
            if (entries[static_cast<std::size_t>(i)].window == window) return i;
        return -1;
    }

    Entry& append(Window window, std::string title) {
        entries.push_back(makeEntry(window, std::move(title)));
        return entries.back();
    }

    Entry& insertFront(Window window, std::string title) {
        entries.insert(entries.begin(), makeEntry(window, std::move(title)));
        return entries.front();
    }

    void removeAt(int index) {
        if (validIndex(index)) entries.erase(entries.begin() + index);
    }

    // Visits every entry's window from the last entry to the first.
    template <class Visit> void forEachLastToFirst(Visit&& visit) const {
        for (int i = count() - 1; i >= 0; --i) {
            if (i >= count()) continue; // entries went away during the previous visit
            visit(Window(entries[static_cast<std::size_t>(i)].window));
        }
    }

    // Visits every entry's window from the first entry to the last.
    template <class Visit> void forEachFirstToLast(Visit&& visit) const {
        for (int i = 0; i < count(); ++i) visit(Window(entries[static_cast<std::size_t>(i)].window));
    }

    // Visits the index of every entry of the window, first to last. The visitor may change the list.
    template <class Visit> void forEachIndexOf(Window window, Visit&& visit) {
        for (int i = 0; i < count(); ++i)
            if (entries[static_cast<std::size_t>(i)].window == window) visit(i);
    }

private:
    static Entry makeEntry(Window window, std::string title) {
        Entry e{};
        e.window = window;
        e.title = std::move(title);
        return e;
    }
};

} // namespace core
