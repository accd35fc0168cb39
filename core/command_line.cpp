#include "core/command_line.h"

namespace core {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kProgramEnd = ".exe";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool endsProgramAt(std::string_view line, size_t at) {
    if (at < kProgramEnd.size()) return false;
    if (at < line.size() && !isBlank(line[at])) return false;
    for (size_t i = 0; i < kProgramEnd.size(); ++i) {
        char c = line[at - kProgramEnd.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kProgramEnd[i]) return false;
    }
    return true;
}

// Where the unquoted program ends: after its ".exe", or at the first blank when no ".exe" ends a token.
size_t unquotedProgramEnd(std::string_view line) {
    for (size_t at = kProgramEnd.size(); at <= line.size(); ++at)
        if (endsProgramAt(line, at)) return at;
    const size_t blank = line.find_first_of(kBlanks);
    return blank == std::string_view::npos ? line.size() : blank;
}

std::string_view afterBlanks(std::string_view text) {
    const size_t start = text.find_first_not_of(kBlanks);
    return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

} // namespace

CommandParts splitCommandLine(std::string_view line) {
    line = afterBlanks(line);
    if (line.empty()) return {};
    if (line.front() == '"') {
        const size_t close = line.find('"', 1);
        if (close == std::string_view::npos) return {line.substr(1), {}};
        return {line.substr(1, close - 1), afterBlanks(line.substr(close + 1))};
    }
    const size_t end = unquotedProgramEnd(line);
    return {line.substr(0, end), afterBlanks(line.substr(end))};
}

std::string quotedCommandLine(const CommandParts& parts) {
    std::string line = "\"" + std::string(parts.program) + "\"";
    if (!parts.arguments.empty()) line += " " + std::string(parts.arguments);
    return line;
}

} // namespace core
