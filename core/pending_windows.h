// Windows reported before they could be placed: a browser that creates its frame hidden and shows it later
// must not be maximised or moved until it is shown, and nothing tells the bar when that happens. So each is
// kept here, with the time of its report, and looked at again until it is ready or too old to wait for.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

namespace core {

template <class Handle> class PendingWindows {
  public:
    // A window still hidden this long after its report is left alone: it was never meant to be shown.
    static constexpr std::uint32_t kLifetimeMs = 10000;

    // A window reported again keeps its first report's time, so a stream of reports cannot keep it forever.
    void add(Handle h, std::uint32_t nowMs) {
        if (!contains(h)) entries_.push_back({h, nowMs});
    }
    void remove(Handle h) {
        entries_.erase(
            std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.handle == h; }),
            entries_.end());
    }
    bool empty() const { return entries_.empty(); }
    bool contains(Handle h) const {
        return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.handle == h; });
    }

    // Hands every window to `ready`, which does what is due and says whether the window is done with;
    // those, and those past their lifetime, leave the list. The tick counter may wrap between report and
    // check.
    template <class Ready> void recheck(std::uint32_t nowMs, Ready ready) {
        // A copy: `ready` may run code that adds or removes windows.
        std::vector<Entry> current = entries_;
        for (const Entry& e : current) {
            if (!contains(e.handle)) continue; // removed by an earlier call
            const bool expired = static_cast<std::uint32_t>(nowMs - e.reportedMs) >= kLifetimeMs;
            if (ready(e.handle) || expired) remove(e.handle);
        }
    }

  private:
    struct Entry {
        Handle handle;
        std::uint32_t reportedMs;
    };
    std::vector<Entry> entries_;
};

} // namespace core
