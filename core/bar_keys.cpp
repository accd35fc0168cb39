#include "core/bar_keys.h"

#include <algorithm>

namespace core {

namespace {
// Virtual-key codes; core/ sees no Windows header.
constexpr unsigned kTab = 0x09, kEnter = 0x0D, kEscape = 0x1B, kSpace = 0x20, kEnd = 0x23, kHome = 0x24,
                   kLeft = 0x25, kRight = 0x27, kDelete = 0x2E, kApps = 0x5D, kF10 = 0x79;
} // namespace

BarKey barKeyOf(unsigned virtualKey, bool shift) {
    switch (virtualKey) {
    case kLeft:
        return BarKey::Left;
    case kRight:
        return BarKey::Right;
    case kHome:
        return BarKey::Home;
    case kEnd:
        return BarKey::End;
    case kTab:
        return shift ? BarKey::Previous : BarKey::Next;
    case kEnter:
    case kSpace:
        return BarKey::Press;
    case kDelete:
        return BarKey::Close;
    case kApps:
        return BarKey::Menu;
    case kF10:
        return shift ? BarKey::Menu : BarKey::Other;
    case kEscape:
        return BarKey::GiveBack;
    default:
        return BarKey::Other;
    }
}

int firstFocus(int activeIndex, int browsers, int own) {
    if (activeIndex >= 0 && activeIndex < browsers) return activeIndex;
    return browsers + own > 0 ? 0 : -1;
}

int movedFocus(BarKey key, int current, int browsers, int own) {
    const int all = browsers + own;
    if (all <= 0) return -1;
    current = std::clamp(current, 0, all - 1);
    const bool onOwn = current >= browsers;
    const int first = onOwn ? browsers : 0;
    const int last = onOwn ? all - 1 : browsers - 1;
    switch (key) {
    case BarKey::Left:
        return std::max(first, current - 1);
    case BarKey::Right:
        return std::min(last, current + 1);
    case BarKey::Home:
        return first;
    case BarKey::End:
        return last;
    case BarKey::Next:
        return (current + 1) % all;
    case BarKey::Previous:
        return (current + all - 1) % all;
    default:
        return current;
    }
}

} // namespace core
