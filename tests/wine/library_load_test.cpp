// The three libraries load wherever the system puts them: a process in which something already occupies a
// library's preferred address must still be able to load it, or the bar (which imports two of them) would
// fail to start now and then. And a copy of the bar never loads a library planted in its folder under a
// system library's name.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <utility>

#include "kit/bar.h"
#include "kit/process.h"

namespace {

// The preferred base address written in a library file's headers, or 0.
ULONGLONG preferredBase(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS nt{};
    if (!file.read(reinterpret_cast<char*>(&dos), sizeof dos) || !file.seekg(dos.e_lfanew)) return 0;
    return file.read(reinterpret_cast<char*>(&nt), sizeof nt) ? nt.OptionalHeader.ImageBase : 0;
}

TEST(LibraryLoad, EachLibraryLoadsWhenItsPreferredAddressIsTaken) {
    const std::pair<const char*, const char*> libraries[] = {
        {"cvsh.dll", "SetShellHook"}, {"cvth.dll", "SetTaskbarHook"}, {"cvil.dll", "_HTTPGet"}};
    for (const auto& [name, anExport] : libraries) {
        SCOPED_TRACE(name);
        const std::string path = kit::distDir() + "\\" + name;
        const ULONGLONG base = preferredBase(path);
        ASSERT_NE(base, 0u);
        ASSERT_EQ(GetModuleHandleA(name), nullptr);
        void* squatter = VirtualAlloc(reinterpret_cast<void*>(base), 0x10000, MEM_RESERVE, PAGE_NOACCESS);
        ASSERT_EQ(squatter, reinterpret_cast<void*>(base)) << "the preferred address was not free to take";
        HMODULE library = LoadLibraryA(path.c_str());
        const DWORD error = GetLastError();
        EXPECT_NE(library, nullptr) << "error " << error;
        EXPECT_NE(reinterpret_cast<ULONGLONG>(library), base);
        if (library) {
            // Moved, it still works: its exports are where its table says.
            EXPECT_NE(GetProcAddress(library, anExport), nullptr);
            FreeLibrary(library);
        }
        VirtualFree(squatter, 0, MEM_RELEASE);
    }
}

// Every library of the system the bar uses at some point, loaded at run time or ever imported. Not
// version.dll: Wine's own user32 imports it, so Wine's loader looks for it before any code of the program
// runs (on Windows, user32 and what it imports are known libraries, never searched for).
const char* const kSystemNames[] = {"comctl32.dll", "dwmapi.dll",  "oleacc.dll",  "comdlg32.dll",
                                    "hhctrl.ocx",   "uxtheme.dll", "wininet.dll", "winmm.dll"};

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Wine's per-program overrides, as WINEDLLOVERRIDES would give them: a variable set here would not reach the
// copy, whose loader reads the environment the Wine session started with. Removed again whatever happens.
class PlantedOverrides {
  public:
    explicit PlantedOverrides(const std::string& program)
        : key_("Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides") {
        for (const char* name : kSystemNames) {
            // As Windows would: a library found in the program's folder comes before the system's own.
            std::string base(name);
            if (base.size() > 4 && base.compare(base.size() - 4, 4, ".dll") == 0)
                base.resize(base.size() - 4);
            RegSetKeyValueA(HKEY_CURRENT_USER, key_.c_str(), base.c_str(), REG_SZ, "native,builtin", 15);
        }
    }
    ~PlantedOverrides() { RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }

  private:
    std::string key_;
};

TEST(LibraryLoad, ACopyOfTheBarNeverLoadsALibraryPlantedBesideItUnderASystemName) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "corvane-planted";
    const std::string copy = folder + "\\corvane-planted.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((kit::distDir() + "\\corvane.exe").c_str(), copy.c_str(), FALSE));
    for (const char* own : {"cvsh.dll", "cvth.dll", "cvil.dll"})
        ASSERT_TRUE(CopyFileA((kit::distDir() + "\\" + own).c_str(), (folder + "\\" + own).c_str(), FALSE))
            << own;
    const std::string planted = kit::binDir() + "\\tests\\wine\\planted_library.dll";
    for (const char* name : kSystemNames) {
        ASSERT_TRUE(CopyFileA(planted.c_str(), (folder + "\\" + name).c_str(), FALSE)) << name;
        DeleteFileA((folder + "\\" + name + ".loaded").c_str());
    }
    PlantedOverrides overrides("corvane-planted.exe");

    // The plant works: loaded by its path, it leaves its mark.
    HMODULE control = LoadLibraryA((folder + "\\dwmapi.dll").c_str());
    ASSERT_NE(control, nullptr);
    FreeLibrary(control);
    ASSERT_TRUE(exists(folder + "\\dwmapi.dll.loaded"));
    DeleteFileA((folder + "\\dwmapi.dll.loaded").c_str());

    e2e::deleteSettingsKey();
    ASSERT_TRUE(e2e::ensureStandInTaskbar());
    kit::Process bar;
    ASSERT_TRUE(bar.start("\"" + copy + "\""));
    HWND window = nullptr;
    EXPECT_TRUE(
        kit::waitFor([&] { return (window = e2e::findBar()) != nullptr && IsWindowVisible(window); }));
    // The accessible object comes from oleacc.dll, loaded when first asked for.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG, 5000,
                        &answer);
    EXPECT_NE(answer, 0u);
    EXPECT_TRUE(e2e::closeBar(bar, window));
    for (const char* name : kSystemNames)
        EXPECT_FALSE(exists(folder + "\\" + name + ".loaded")) << name;
}

} // namespace
