// The three libraries load wherever the system puts them: a process in which something already occupies a
// library's preferred address must still be able to load it, or the bar (which imports two of them) would
// fail to start now and then.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "kit/bar.h"

namespace {

// The preferred base address written in a library file's headers, or 0.
ULONGLONG preferredBase(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 0x40) return 0;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    if (static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS) > bytes.size()) return 0;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes.data() + dos->e_lfanew);
    return nt->OptionalHeader.ImageBase;
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
