#include "kit/process.h"

#include <tlhelp32.h>

#include <cstdlib>

namespace kit {

std::string windowsPath(const std::string& hostPath) {
    std::string path = hostPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    // Wine maps the root file system to drive Z:.
    if (!path.empty() && path[0] == '\\') path = "Z:" + path;
    return path;
}

namespace {
std::string fromEnv(const char* name) {
    const char* v = std::getenv(name);
    return windowsPath(v && *v ? v : ".");
}

struct Search {
    const char* className;
    const char* title;
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    if (s->visibleOnly && !IsWindowVisible(w)) return TRUE;
    char cls[64] = {}, text[256] = {};
    GetClassNameA(w, cls, sizeof(cls));
    if (s->className && lstrcmpA(cls, s->className) != 0) return TRUE;
    GetWindowTextA(w, text, sizeof(text));
    if (s->title && lstrcmpA(text, s->title) != 0) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (s->processId && pid != s->processId) return TRUE;
    s->found.push_back(w);
    return TRUE;
}
} // namespace

std::string distDir() {
    return fromEnv("CORVANE_DIST");
}
std::string binDir() {
    return fromEnv("CORVANE_BIN");
}
std::string toolPath(const char* relativePath) {
    return binDir() + "\\tools\\" + relativePath;
}

std::vector<HWND> topLevelWindows(const char* className, const char* title, DWORD processId) {
    Search s{className, title, processId, true, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND findWindowOf(DWORD processId, const char* className) {
    Search s{className, nullptr, processId, false, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&s));
    return s.found.empty() ? nullptr : s.found.front();
}

std::vector<DWORD> processesNamed(const char* exeFile) {
    std::vector<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, exeFile) == 0) found.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return found;
}

} // namespace kit
