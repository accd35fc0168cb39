// Which program a stored command line names. The system, given a command line alone, tries every prefix
// that ends at a space ("C:\Program.exe" before "C:\Program Files\..."): whoever can write such a file
// would run in the user's place. The bar therefore decides the program itself and names it to the system.
#pragma once
#include <string>
#include <string_view>

namespace core {

struct CommandParts {
    std::string_view program;   // without quotes
    std::string_view arguments; // as typed, after the white space that ends the program
};

// A quoted first token is the program (an unclosed quote runs to the end). Otherwise the program is the
// shortest prefix that ends in ".exe" (any letter case) at a space, a tab or the end of the line; without
// one, the first token, up to the first space or tab. Leading white space is skipped; an empty or blank line
// names no program.
CommandParts splitCommandLine(std::string_view line);

// The command line the program is started with: the program quoted, then its arguments, so that the program
// reads the same arguments whether the user quoted its path or not.
std::string quotedCommandLine(const CommandParts& parts);

} // namespace core
