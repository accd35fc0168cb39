// Stands in for the browser in end-to-end tests: the shell runs it for web addresses, and it only
// writes its command line to the file named by CORVANE_URL_RECORD.
#include <windows.h>

#include <cstdio>

int main() {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("CORVANE_URL_RECORD", path, sizeof path)) return 1;
    FILE* f = std::fopen(path, "a");
    return f && std::fprintf(f, "%s\n", GetCommandLineA()) > 0 && std::fclose(f) == 0 ? 0 : 1;
}
