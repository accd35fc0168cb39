// The three libraries load wherever the system puts them: a process in which something already occupies a
// library's preferred address must still be able to load it, or the bar (which imports two of them) would
// fail to start now and then.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <utility>

#include "kit/bar.h"

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

} // namespace
