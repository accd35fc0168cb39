// Windows reported by the shell that were not yet ready to be tracked (hidden, untitled, still being
// restyled): each is looked at again until it is ready or, 10 s after its first report, given up.
#pragma once
#include <cstdint>
#include <vector>

namespace core {

template <class Handle> class PendingWindows {
  public:
    static constexpr std::uint32_t kLifetimeMs = 10000;

    // A window reported again keeps the time of its first report: a program that keeps poking a window
    // cannot keep it pending forever.
    void add(Handle window, std::uint32_t nowMs) {
        if (!contains(window)) entries_.push_back({window, nowMs});
    }
    void remove(Handle window) {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].window == window) {
                entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
                return;
            }
        }
    }
    bool empty() const { return entries_.empty(); }
    bool contains(Handle window) const {
        for (const Entry& e : entries_)
            if (e.window == window) return true;
        return false;
    }

    // Drops the windows for which ready(window) is true and those older than kLifetimeMs. ready may add
    // and remove windows itself (it runs code that can re-enter the caller): the walk is over a copy.
    template <class Ready> void recheck(std::uint32_t nowMs, Ready ready) {
        const std::vector<Entry> snapshot = entries_;
        for (const Entry& e : snapshot) {
            // Unsigned difference: right across the tick counter's wrap-around.
            if (nowMs - e.since >= kLifetimeMs || ready(e.window)) remove(e.window);
        }
    }

  private:
    struct Entry {
        Handle window;
        std::uint32_t since;
    };
    std::vector<Entry> entries_;
};

} // namespace core
