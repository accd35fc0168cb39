// libFuzzer target for the title rule and the number edits' parsing: any text, however broken, gives a
// result that keeps the rules' promises. The first byte picks the rule.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/browser_rules.h"
#include "core/preference_rules.h"

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}

bool blank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

void checkTitle(std::string_view text) {
    const std::string title = core::browserTitle(text);
    check(title.size() <= text.size());
    check(title.empty() || (!blank(title.front()) && !blank(title.back())));
    // Without the suffix anywhere, the rule only trims.
    if (text.find(core::kBrowserTitleSuffix) == std::string_view::npos) {
        size_t first = 0, last = text.size();
        while (first < last && blank(text[first]))
            ++first;
        while (last > first && blank(text[last - 1]))
            --last;
        check(title == text.substr(first, last - first));
    }
}

// The same reading, done the slow way with a wide accumulator.
void checkNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    __int128 value = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > (static_cast<__int128>(1) << 40)) overflow = true;
    }
    if (negative) value = -value;
    overflow = overflow || value > INT32_MAX || value < INT32_MIN;
    const auto parsed = core::parseNumber(text);
    check(parsed.has_value() == !overflow);
    if (parsed) check(*parsed == static_cast<int32_t>(value));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1) {
        checkTitle(text);
    } else {
        checkNumber(text);
    }
    return 0;
}
