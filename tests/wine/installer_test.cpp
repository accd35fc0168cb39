// The setup program as a Windows user runs it: silent install, the bar from the installed folder, uninstall.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <string>

#include "core/program_name.h"
#include "kit/bar.h"

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string setupPath() {
    return kit::distDir() + "\\..\\corvane-1.21.2-x64-setup.exe";
}

// Where a folder of the system is, with a path below it.
std::string folder(int id, const char* below) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, id, nullptr, 0, path);
    return std::string(path) + below;
}

std::string installDir() {
    return folder(CSIDL_PROGRAM_FILES, "\\Corvane!");
}

// The shortcut of a machine-wide install is in every user's Start menu.
std::string startMenuLink() {
    return folder(CSIDL_COMMON_PROGRAMS, "\\Corvane!\\Corvane!.lnk");
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool runValue(std::string* value = nullptr) {
    char data[MAX_PATH] = {};
    DWORD size = sizeof(data);
    if (RegGetValueA(HKEY_CURRENT_USER, kRunKey, core::kProgramName, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return false;
    if (value) *value = data;
    return true;
}

bool run(const std::string& commandLine, DWORD timeoutMs = 60000) {
    kit::Process p;
    return p.start(commandLine) && p.waitExit(timeoutMs) && p.exitCode() == 0;
}

// The uninstaller's copy that does the work runs from the temporary folder as "Un.exe" (older setups:
// "Au_.exe").
bool uninstallerRunning() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe{};
    pe.dwSize = sizeof(pe);
    bool found = false;
    for (BOOL more = Process32First(snap, &pe); more && !found; more = Process32Next(snap, &pe))
        found = _stricmp(pe.szExeFile, "Un.exe") == 0 || _strnicmp(pe.szExeFile, "Au_", 3) == 0;
    CloseHandle(snap);
    return found;
}

// The uninstaller hands over to a copy of itself and returns at once: wait for that copy to end.
bool uninstall(const std::string& options, const std::string& dir = installDir()) {
    if (!run("\"" + dir + "\\uninstall.exe\" /S " + options)) return false;
    return kit::waitFor([&] { return !uninstallerRunning() && !exists(dir + "\\uninstall.exe"); }, 90000);
}

std::string programOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (process) QueryFullProcessImageNameA(process, 0, path, &size);
    if (process) CloseHandle(process);
    return path;
}

class Installer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(exists(setupPath())) << setupPath();
        ASSERT_TRUE(e2e::ensureStandInTaskbar()); // the installed bar needs a taskbar it can hook
        e2e::deleteSettingsKey();
    }
    void TearDown() override {
        if (HWND bar = e2e::findBar()) PostMessageA(bar, WM_CLOSE, 0, 0);
        if (exists(dir_ + "\\uninstall.exe")) uninstall("/REMOVESETTINGS=1", dir_);
        e2e::deleteSettingsKey();
    }
    std::string dir_ = installDir();
};

TEST_F(Installer, SilentInstallWithLogonStartsTheBarFromItsFolderAndUninstallLeavesNothing) {
    ASSERT_TRUE(run("\"" + setupPath() + "\" /S /LOGON=1"));
    for (const char* file : {"corvane.exe", "uninstall.exe"})
        EXPECT_TRUE(exists(installDir() + "\\" + file)) << file;
    EXPECT_TRUE(exists(startMenuLink()));
    std::string value;
    ASSERT_TRUE(runValue(&value));
    EXPECT_EQ(value, "\"" + installDir() + "\\corvane.exe\"");

    // The bar runs from the installed folder, as the logon would start it.
    kit::Process bar;
    ASSERT_TRUE(bar.start(value));
    ASSERT_TRUE(kit::waitFor([] { return e2e::findBar() && IsWindowVisible(e2e::findBar()); }, 10000));
    e2e::writeSetting("Bar height", 30); // the user's own settings, kept by default
    // Wine never unloads the hook's library from the hooked taskbar: that taskbar must go, or the installed
    // cvth.dll could not be deleted.
    ASSERT_TRUE(e2e::stopStandInTaskbar());

    ASSERT_TRUE(uninstall(""));
    EXPECT_TRUE(bar.waitExit(10000)) << "the uninstaller ends the running bar";
    EXPECT_EQ(e2e::findBar(), nullptr);
    EXPECT_FALSE(exists(installDir()));
    EXPECT_FALSE(exists(startMenuLink()));
    EXPECT_FALSE(runValue());
    EXPECT_TRUE(e2e::settingsKeyExists());
}

TEST_F(Installer, WithoutLogonNoRunValueAndSettingsGoOnlyWhenAsked) {
    ASSERT_TRUE(run("\"" + setupPath() + "\" /S"));
    EXPECT_TRUE(exists(installDir() + "\\corvane.exe"));
    EXPECT_FALSE(runValue());
    e2e::writeSetting("Bar height", 30);
    ASSERT_TRUE(uninstall("/REMOVESETTINGS=1"));
    EXPECT_FALSE(e2e::settingsKeyExists());
}

TEST_F(Installer, StartOptionStartsTheBarWhenTheInstallationEnds) {
    ASSERT_TRUE(run("\"" + setupPath() + "\" /S /START=1"));
    EXPECT_TRUE(kit::waitFor([] { return e2e::findBar() != nullptr; }, 10000));
    ASSERT_TRUE(e2e::stopStandInTaskbar()); // it holds the installed cvth.dll, see above
    ASSERT_TRUE(uninstall(""));
    EXPECT_TRUE(kit::waitFor([] { return e2e::findBar() == nullptr; }, 10000));
}

// Any other folder, spaces in its name: the bar is started from there as the signed-in user (through the
// shell's token; Wine has one user and no integrity levels, so what shows is that this path starts it), its
// logon entry names it quoted, and the uninstaller takes only its own files out of it. Wine reports the
// folder's access list from the Unix file modes whatever the setup set, so the list is checked in the script.
TEST_F(Installer, OtherFolderGetsTheBarStartedFromItAndKeepsWhatIsNotTheSetups) {
    dir_ = "C:\\Corvane Tools\\bar";
    ASSERT_TRUE(run("\"" + setupPath() + "\" /S /LOGON=1 /START=1 /D=" + dir_));
    ASSERT_TRUE(kit::waitFor([] { return e2e::findBar() != nullptr; }, 10000));
    EXPECT_EQ(_stricmp(programOf(e2e::findBar()).c_str(), (dir_ + "\\corvane.exe").c_str()), 0)
        << programOf(e2e::findBar());
    std::string value;
    ASSERT_TRUE(runValue(&value));
    EXPECT_EQ(value, "\"" + dir_ + "\\corvane.exe\"");

    const std::string own = dir_ + "\\notes.txt";
    HANDLE file = CreateFileA(own.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    ASSERT_TRUE(e2e::stopStandInTaskbar()); // it holds the installed cvth.dll
    ASSERT_TRUE(uninstall("", dir_));
    for (const char* part : {"corvane.exe", "cvsh.dll", "cvth.dll", "cvil.dll"})
        EXPECT_FALSE(exists(dir_ + "\\" + part)) << part;
    EXPECT_TRUE(exists(own));
    EXPECT_FALSE(runValue());
    DeleteFileA(own.c_str());
    RemoveDirectoryA(dir_.c_str());
    RemoveDirectoryA("C:\\Corvane Tools");
}

} // namespace
