#include "kit/bar.h"

#include <shellapi.h>

#include <cstdio>
#include <utility>

#include "kit/standin.h"

namespace e2e {

LONG bottomOfferedToANewcomer(RECT monitor) {
    HWND probe = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "strip probe", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    APPBARDATA abd{};
    abd.cbSize = sizeof(abd);
    abd.hWnd = probe;
    SHAppBarMessage(ABM_NEW, &abd);
    abd.uEdge = ABE_BOTTOM;
    if (IsRectEmpty(&monitor)) monitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    abd.rc = {monitor.left, monitor.bottom - 30, monitor.right, monitor.bottom};
    SHAppBarMessage(ABM_QUERYPOS, &abd);
    SHAppBarMessage(ABM_REMOVE, &abd);
    DestroyWindow(probe);
    return abd.rc.bottom;
}

void deleteSettingsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Corvane!");
}

bool settingsKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Corvane!", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void writeSetting(const char* name, DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Corvane!", name, REG_DWORD, &value, sizeof(value));
}

void writeSetting(const char* name, const std::string& text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Corvane!", name, REG_SZ, text.c_str(),
                    static_cast<DWORD>(text.size() + 1));
}

std::wstring wideOf(const std::string& utf8) {
    std::wstring out(utf8.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return out;
}

std::string utf8Of(const std::wstring& wide) {
    std::string out(wide.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, out.data(), static_cast<int>(out.size()),
                                      nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return out;
}

void writeSettingWide(const char* name, const std::string& utf8) {
    const std::wstring text = wideOf(utf8);
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Corvane!", wideOf(name).c_str(), REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::string readSettingWide(const char* name) {
    wchar_t text[1024] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Corvane!", wideOf(name).c_str(), RRF_RT_REG_SZ, nullptr,
                     text, &size) != ERROR_SUCCESS)
        return {};
    return utf8Of(text);
}

HWND findBar() {
    return FindWindowA(nullptr, "Corvane! main window");
}

namespace {
// Wine's own taskbar keeps no tab control, and the bar refuses to start without one: a stand-in taskbar
// runs from the first start of a bar to the end of the test program.
class StandInTaskbar {
  public:
    ~StandInTaskbar() { stop(); }
    bool stop() {
        if (tray_ && IsWindow(tray_)) PostMessageA(tray_, WM_CLOSE, 0, 0);
        tray_ = nullptr;
        if (process_.waitExit(5000)) return true;
        process_.kill();
        return false;
    }
    bool ensure() {
        if (tray_ && IsWindow(tray_) && FindWindowA("Shell_TrayWnd", nullptr) == tray_) return true;
        return (tray_ = standin::openTaskbar(process_, "--hidden")) != nullptr;
    }

  private:
    kit::Process process_;
    HWND tray_ = nullptr;
};

StandInTaskbar& standInTaskbar() {
    static StandInTaskbar taskbar;
    return taskbar;
}
} // namespace

bool ensureStandInTaskbar() {
    return standInTaskbar().ensure();
}
bool stopStandInTaskbar() {
    return standInTaskbar().stop();
}

bool startBar(kit::Process& process, HWND* bar, DWORD timeoutMs, bool standInTaskbar) {
    if (standInTaskbar && !ensureStandInTaskbar()) return false;
    if (!process.start("\"" + kit::distDir() + "\\corvane.exe\"")) {
        std::printf("corvane.exe did not start: error %lu\n",
                    static_cast<unsigned long>(process.startError()));
        return false;
    }
    HWND found = nullptr;
    bool ok = kit::waitFor(
        [&] {
            found = findBar();
            // Shown comes last in the start-up, after the bar was placed at the screen edge.
            return found && IsWindowVisible(found);
        },
        timeoutMs);
    if (bar) *bar = found;
    return ok;
}

bool closeBar(kit::Process& process, HWND bar, DWORD timeoutMs) {
    if (bar) PostMessageA(bar, WM_CLOSE, 0, 0);
    return process.waitExit(timeoutMs);
}

} // namespace e2e
