// The hook procedures called directly. The platform here reports only shell creation and destruction, so
// the filtering of the other codes is shown on the procedure itself; the taskbar side's rules are shown on
// a tab control of this thread. Also the shell hook library under another name.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include <commctrl.h>

#include "hooks/shell/cvsh.h"
#include "hooks/shell/shell_hook.h"
#include "hooks/taskbar/taskbar_hook.h"
#include "kit/standin.h"

namespace {

std::vector<std::pair<WPARAM, LPARAM>> forwarded;

LRESULT CALLBACK targetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == cvsh::kShellEventMessage) {
        forwarded.emplace_back(wParam, lParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND makeWindow(const char* className, WNDPROC procedure = DefWindowProcA) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowA(className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

HWND makeTarget() {
    return makeWindow("CorvaneShellProcTarget", targetProc);
}

class ShellHookProcedure : public ::testing::Test {
  protected:
    void SetUp() override {
        target = makeTarget();
        subject = makeTarget();
        ASSERT_TRUE(target && subject);
        cvsh::shared.target = target;
        cvsh::shared.hook = nullptr;
        forwarded.clear();
    }
    void TearDown() override {
        DestroyWindow(target);
        DestroyWindow(subject);
    }
    // The procedure posts its report: it is read once this thread takes its messages.
    void call(int code, HWND window, LPARAM lParam = 0) {
        cvsh::hookProcedure(code, reinterpret_cast<WPARAM>(window), lParam);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    HWND target = nullptr;
    HWND subject = nullptr;
};

TEST_F(ShellHookProcedure, CreatedDestroyedActivatedRedrawnAndFlashingAreForwardedWithWindowAndCode) {
    for (int code : {1, 2, 4, 6, 0x8006})
        call(code, subject);
    // A redraw of a flashing window, as this hook hears it, is the flash code too.
    call(6, subject, TRUE);
    WPARAM w = reinterpret_cast<WPARAM>(subject);
    std::vector<std::pair<WPARAM, LPARAM>> expected{{w, 1}, {w, 2}, {w, 4}, {w, 6}, {w, 0x8006}, {w, 0x8006}};
    EXPECT_EQ(forwarded, expected);
}

TEST_F(ShellHookProcedure, OtherCodesAndTheRudeActivationPassSilently) {
    for (int code : {0, 3, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0x8001, 0x8002, 0x8004, 0x8016})
        call(code, subject);
    call(-1, subject);
    EXPECT_TRUE(forwarded.empty());
}

TEST_F(ShellHookProcedure, AnEventWithoutAWindowIsNotForwarded) {
    for (int code : {1, 2, 4, 6})
        call(code, nullptr);
    EXPECT_TRUE(forwarded.empty());
}

TEST_F(ShellHookProcedure, AGoneTargetGetsNothingAndTheEventPassesOn) {
    HWND gone = makeTarget();
    cvsh::shared.target = gone;
    DestroyWindow(gone);
    call(HSHELL_WINDOWCREATED, subject);
    EXPECT_TRUE(forwarded.empty());
    cvsh::shared.target = target;
    call(HSHELL_WINDOWCREATED, subject);
    EXPECT_EQ(forwarded.size(), 1u);
}

TEST(ShellHookLibrary, UnderAnotherFileNameItCannotSetTheHookAndSaysSo) {
    const std::string original = kit::distDir() + "\\cvsh.dll";
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string copy = std::string(temp) + "cvsh-renamed.dll";
    ASSERT_TRUE(CopyFileA(original.c_str(), copy.c_str(), FALSE));
    HMODULE library = LoadLibraryA(copy.c_str());
    ASSERT_NE(library, nullptr);
    auto setHook =
        reinterpret_cast<int (*)(HWND)>(reinterpret_cast<void*>(GetProcAddress(library, "SetShellHook")));
    auto removeHook =
        reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(library, "RemoveShellHook")));
    ASSERT_TRUE(setHook && removeHook);
    HWND target = makeTarget();
    {
        standin::MessageBoxWatcher watcher("cvsh.dll : error !");
        EXPECT_EQ(setHook(target), 0);
        EXPECT_EQ(watcher.count(), 1);
        EXPECT_EQ(watcher.lastText(), "Can't set shell hook !");
    }
    EXPECT_EQ(removeHook(), 0);
    DestroyWindow(target);
    FreeLibrary(library);
    DeleteFileA(copy.c_str());
}

TEST(TaskbarRemovalRule, OnlyTheExactClassNamesAreRemoved) {
    for (const char* name : {"IEFrame", "CabinetWClass", "ExplorerWClass"}) {
        EXPECT_TRUE(cvth::removesClass(name, true)) << name;
        EXPECT_EQ(cvth::removesClass(name, false), name[0] == 'I') << name; // folders only when caught
    }
    for (const char* name :
         {"ieframe", "IEFRAME", "IEFrame2", "IEFram", "", "cabinetwclass", "ExploreWClass"})
        EXPECT_FALSE(cvth::removesClass(name, true)) << name;
}

// A tab control of this thread with one item per window; the pass runs on it directly.
class TaskbarPass : public ::testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
        InitCommonControlsEx(&icc);
        tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_POPUP, 0, 0, 300, 30, nullptr, nullptr, nullptr,
                              nullptr);
        ASSERT_NE(tab, nullptr);
        for (const char* name : {"IEFrame", "CorvaneNotes", "CabinetWClass", "IEFrame"})
            add(makeClassWindow(name));
        cvth::shared.tabControl = tab;
        cvth::shared.hook = nullptr;
        cvth::shared.catchExplorer = 0;
    }
    void TearDown() override {
        DestroyWindow(tab);
        for (HWND w : windows)
            DestroyWindow(w);
    }
    HWND makeClassWindow(const char* className) { return windows.emplace_back(makeWindow(className)); }
    void add(HWND window) {
        TCITEMA item{};
        item.mask = TCIF_PARAM;
        item.lParam = reinterpret_cast<LPARAM>(window);
        SendMessageA(tab, TCM_INSERTITEMA, SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0),
                     reinterpret_cast<LPARAM>(&item));
    }
    std::vector<HWND> items() {
        std::vector<HWND> result;
        TCITEMA item{};
        item.mask = TCIF_PARAM;
        for (int i = 0; SendMessageA(tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item)); ++i)
            result.push_back(reinterpret_cast<HWND>(item.lParam));
        return result;
    }
    void deliver(UINT message) {
        CWPSTRUCT call{0, 0, message, tab};
        cvth::hookProcedure(HC_ACTION, 0, reinterpret_cast<LPARAM>(&call));
    }
    HWND tab = nullptr;
    std::vector<HWND> windows;
};

TEST_F(TaskbarPass, AdjacentBrowserItemsAndTheFolderItemGoAsTheFlagSays) {
    add(windows[0]); // two browser items side by side at the end
    cvth::removalPass();
    EXPECT_EQ(items(), (std::vector<HWND>{windows[1], windows[2]}));
    cvth::shared.catchExplorer = 1;
    cvth::removalPass();
    EXPECT_EQ(items(), std::vector<HWND>{windows[1]});
}

TEST_F(TaskbarPass, ItemsWithoutALiveWindowStay) {
    HWND gone = makeClassWindow("IEFrame");
    add(gone);
    DestroyWindow(gone);
    cvth::removalPass();
    EXPECT_EQ(items(), (std::vector<HWND>{windows[1], windows[2], gone}));
}

TEST_F(TaskbarPass, TheTriggerIsTheCountQueryOnNtAndTheRectangleQueryElsewhere) {
    cvth::shared.ntFamily = 0;
    deliver(TCM_GETITEMCOUNT);
    EXPECT_EQ(items().size(), 4u);
    deliver(TCM_GETITEMRECT);
    EXPECT_EQ(items().size(), 2u);
    add(windows[0]);
    cvth::shared.ntFamily = 1;
    deliver(TCM_GETITEMRECT);
    EXPECT_EQ(items().size(), 3u);
    deliver(TCM_GETITEMCOUNT);
    EXPECT_EQ(items().size(), 2u);
}

} // namespace
