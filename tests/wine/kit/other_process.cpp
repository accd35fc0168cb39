#include "kit/other_process.h"

#include <commctrl.h>

#include "kit/gdi_table.h"

namespace kit {

namespace {
// Memory in the other process, freed with the object.
class RemoteBlock {
  public:
    RemoteBlock(DWORD processId, SIZE_T size)
        : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                   PROCESS_QUERY_INFORMATION,
                               FALSE, processId)),
          address_(process_
                       ? VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                       : nullptr) {}
    ~RemoteBlock() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    char* at(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
    bool write(SIZE_T offset, const void* data, SIZE_T size) const {
        return WriteProcessMemory(process_, at(offset), data, size, nullptr) != 0;
    }
    bool read(SIZE_T offset, void* data, SIZE_T size) const {
        return ReadProcessMemory(process_, at(offset), data, size, nullptr) != 0;
    }

  private:
    HANDLE process_;
    void* address_;
};

constexpr SIZE_T kTextOffset = 512;
constexpr SIZE_T kTextSize = 1024;

struct WindowCount {
    DWORD processId;
    long count;
};

BOOL CALLBACK countChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->count;
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM param) {
    auto* c = reinterpret_cast<WindowCount*>(param);
    if (processOf(window) != c->processId) return TRUE;
    ++c->count;
    EnumChildWindows(window, countChild, param);
    return TRUE;
}
} // namespace

DWORD processOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::vector<Tool> enumTools(HWND tips) {
    std::vector<Tool> tools;
    RemoteBlock block(processOf(tips), kTextOffset + kTextSize);
    if (!block) return tools;
    int count = static_cast<int>(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TOOLINFOA ti{};
        ti.cbSize = sizeof(ti);
        ti.lpszText = block.at(kTextOffset);
        if (!block.write(0, &ti, sizeof(ti))) break;
        if (!SendMessageA(tips, TTM_ENUMTOOLSA, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(block.at(0))))
            break;
        if (!block.read(0, &ti, sizeof(ti))) break;
        tools.push_back({ti.hwnd, ti.uId, ti.rect});
    }
    return tools;
}

std::string toolText(HWND tips, HWND owner, UINT_PTR id) {
    RemoteBlock block(processOf(tips), kTextOffset + kTextSize);
    if (!block) return "<none>";
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = owner;
    ti.uId = id;
    ti.lpszText = block.at(kTextOffset);
    const char empty = '\0';
    if (!block.write(0, &ti, sizeof(ti)) || !block.write(kTextOffset, &empty, 1)) return "<none>";
    SendMessageA(tips, TTM_GETTEXTA, kTextSize, reinterpret_cast<LPARAM>(block.at(0)));
    char text[kTextSize] = {};
    if (!block.read(kTextOffset, text, sizeof(text) - 1)) return "<none>";
    return text;
}

GuiObjects guiObjects(DWORD processId) {
    GuiObjects objects;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process) {
        if (DWORD n = GetGuiResources(process, GR_GDIOBJECTS)) objects.gdi = static_cast<long>(n);
        if (DWORD n = GetGuiResources(process, GR_USEROBJECTS)) objects.user = static_cast<long>(n);
        CloseHandle(process);
    }
    if (objects.gdi < 0) objects.gdi = gditable::objectsInUse(processId);
    if (objects.user < 0) {
        WindowCount c{processId, 0};
        EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&c));
        objects.user = c.count;
    }
    return objects;
}

} // namespace kit
