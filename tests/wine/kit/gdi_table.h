// Counting a process's GDI objects where GetGuiResources answers 0 (as it does on Wine): the entries in use
// in the GDI handle table that the process environment block points at.
#pragma once
#include <windows.h>

#include <winternl.h>

#include <vector>

namespace gditable {

// One entry of the table (64-bit layout).
struct Entry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 user;
};
static_assert(sizeof(Entry) == 24, "table entry");
constexpr SIZE_T kTableOffset = 0xF8; // GdiSharedHandleTable in the 64-bit process environment block
constexpr SIZE_T kEntries = 0x10000;

// The number of objects in use, or -1 when the table cannot be read (or on a 32-bit build).
inline long objectsInUse(DWORD processId) {
#if defined(_WIN64)
    // Looked up rather than linked, so that a test needs no import library for it.
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return -1;
    long used = -1;
    PROCESS_BASIC_INFORMATION info{};
    void* table = nullptr;
    if (query && query(process, ProcessBasicInformation, &info, sizeof(info), nullptr) == 0 &&
        ReadProcessMemory(process, reinterpret_cast<BYTE*>(info.PebBaseAddress) + kTableOffset, &table,
                          sizeof(table), nullptr) &&
        table) {
        std::vector<Entry> entries(kEntries);
        if (ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(Entry), nullptr)) {
            used = 0;
            for (const Entry& e : entries)
                if (e.type != 0) ++used;
        }
    }
    CloseHandle(process);
    return used;
#else
    (void)processId;
    return -1;
#endif
}

} // namespace gditable
