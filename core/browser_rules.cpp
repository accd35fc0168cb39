#include "core/browser_rules.h"

#include "core/command_line.h"
#include "core/settings.h"

namespace core {

namespace {
bool isBlank(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
        return true;
    default:
        return false;
    }
}
} // namespace

std::string browserTitle(std::string_view windowText) {
    std::string out;
    out.reserve(windowText.size());
    size_t pos = 0;
    for (;;) {
        size_t hit = windowText.find(kBrowserTitleSuffix, pos);
        if (hit == std::string_view::npos) break;
        out.append(windowText.substr(pos, hit - pos));
        pos = hit + kBrowserTitleSuffix.size();
    }
    out.append(windowText.substr(pos));
    size_t first = 0;
    while (first < out.size() && isBlank(out[first]))
        ++first;
    size_t last = out.size();
    while (last > first && isBlank(out[last - 1]))
        --last;
    return out.substr(first, last - first);
}

bool isTrackedClass(std::string_view className, bool catchExplorerWindows) {
    return isClassicTrackedClass(className, catchExplorerWindows);
}

std::string_view builtInBrowserProgram(std::string_view command) {
    static const std::string builtIn = Settings{}.browserCommand;
    if (command != builtIn) return {};
    return splitCommandLine(command).program;
}

std::string otherBrowserTitle(std::string_view windowText, const BrowserProgram& program) {
    for (std::string_view suffix : program.suffixes) {
        if (suffix.empty() || windowText.size() < suffix.size()) continue;
        if (windowText.substr(windowText.size() - suffix.size()) == suffix)
            return std::string(windowText.substr(0, windowText.size() - suffix.size()));
    }
    return std::string(windowText);
}

} // namespace core
