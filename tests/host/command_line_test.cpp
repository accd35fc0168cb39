#include "core/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, NamesOneProgramAndKeepsItsArguments) {
    struct Case {
        const char* line;
        const char* program;
        const char* arguments;
    };
    const Case cases[] = {
        // Unquoted paths with spaces: the first ".exe" at a blank ends the program, never a shorter prefix.
        {"c:\\Program Files\\Internet Explorer\\iexplore.exe -nohome",
         "c:\\Program Files\\Internet Explorer\\iexplore.exe", "-nohome"},
        {"C:\\Program Files\\Some Dir\\app.exe", "C:\\Program Files\\Some Dir\\app.exe", ""},
        {"C:\\Apps\\APP.EXE\t-x  -y ", "C:\\Apps\\APP.EXE", "-x  -y "},
        {"C:\\a.exe.d\\b.Exe -x", "C:\\a.exe.d\\b.Exe", "-x"},
        {"C:\\app.exe --open other.exe", "C:\\app.exe", "--open other.exe"},
        {"C:\\app.exec -x", "C:\\app.exec", "-x"},
        // Quoted: exactly what is between the quotes, ".exe" or not; an unclosed quote runs to the end.
        {"\"C:\\Program Files\\App\\app.exe\" -x \"a b\"", "C:\\Program Files\\App\\app.exe", "-x \"a b\""},
        {"\"C:\\Tools dir\\run\"", "C:\\Tools dir\\run", ""},
        {"\"C:\\a b\\app.exe -x", "C:\\a b\\app.exe -x", ""},
        {"  \"C:\\a.exe\"-x", "C:\\a.exe", "-x"},
        // No ".exe" anywhere: the first token, so a space never lets a shorter path in.
        {"C:\\Program Files\\Tool\\run -x", "C:\\Program", "Files\\Tool\\run -x"},
        {"notepad", "notepad", ""},
        {"", "", ""},
        {" \t ", "", ""},
    };
    for (const Case& c : cases) {
        const core::CommandParts parts = core::splitCommandLine(c.line);
        EXPECT_EQ(parts.program, c.program) << c.line;
        EXPECT_EQ(parts.arguments, c.arguments) << c.line;
    }
}

TEST(CommandLine, TheStartedLineQuotesTheProgram) {
    EXPECT_EQ(core::quotedCommandLine(core::splitCommandLine("c:\\Program Files\\A B\\a.exe -nohome")),
              "\"c:\\Program Files\\A B\\a.exe\" -nohome");
    const char* quoted = "\"C:\\x y\\b.exe\" \"an argument\"";
    EXPECT_EQ(core::quotedCommandLine(core::splitCommandLine(quoted)), quoted);
    EXPECT_EQ(core::quotedCommandLine(core::splitCommandLine("C:\\b.exe")), "\"C:\\b.exe\"");
}

} // namespace
