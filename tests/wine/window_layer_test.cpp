// The window layer's lifetime rules, on real windows.
#include <gtest/gtest.h>
#include <windows.h>

#include "win/dialog.h"
#include "win/gdi.h"
#include "win/handle.h"
#include "win/thread.h"
#include "win/window.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char* kClass = "CorvaneLayerTest";
using Log = std::vector<std::string>;
constexpr UINT kMine = 0x77;
constexpr LRESULT kAnswer = 55;

// What the program writes to the debugger's output, caught where the system raises it for a debugger.
std::string g_debugOutput;
LONG CALLBACK catchDebugOutput(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& r = *info->ExceptionRecord;
    if (r.ExceptionCode == DBG_PRINTEXCEPTION_C && r.NumberParameters >= 2)
        g_debugOutput += reinterpret_cast<const char*>(r.ExceptionInformation[1]);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Counts what reaches its handlers and, as a test asks, fails or throws at creation, throws at WM_APP, or
// destroys itself from a message handled inside its WM_APP handler (as a close dispatched by a menu's loop
// does) and goes on using itself after that inner message returns.
class CountingWindow : public win::Window {
  public:
    int finals = 0, pings = 0;
    bool failCreate = false, throwOnCreate = false, throwOnPing = false, destroyOnPing = false;
    Log* log = nullptr; // set: the object belongs to its window and logs its end here
    HWND handleAtCreate = nullptr;
    std::vector<UINT> heard;     // the children's notifications that reached this window's own handler
    std::vector<UINT> reflected; // the notifications about itself that it took from its parent
    ~CountingWindow() override {
        if (log) log->push_back("deleted");
    }

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_CREATE:
            handleAtCreate = hwnd();
            if (throwOnCreate) throw 42;
            return failCreate ? -1 : 0;
        case WM_APP:
            ++pings;
            if (throwOnPing) throw std::runtime_error("ping refused");
            if (!destroyOnPing) return 7;
            SendMessageA(hwnd(), WM_APP + 1, 0, 0);
            log->push_back(hwnd() ? "outer handler, still bound" : "outer handler, unbound");
            return defaultProc(msg, wParam, lParam);
        case WM_APP + 1:
            DestroyWindow(hwnd());
            return 0;
        case WM_COMMAND:
        case WM_DRAWITEM:
        case WM_NOTIFY:
            heard.push_back(msg);
            return 1;
        default:
            return defaultProc(msg, wParam, lParam);
        }
    }
    // Takes from its parent the notifications about itself that carry kMine (as the command's code, the
    // drawn item or the notification's code) and answers them with kAnswer; the parent keeps the rest.
    bool reflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        const bool mine =
            (msg == WM_COMMAND && HIWORD(wParam) == kMine) ||
            (msg == WM_DRAWITEM && reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->itemID == kMine) ||
            (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == kMine);
        if (mine) reflected.push_back(msg);
        result = kAnswer;
        return mine;
    }
    void onFinalMessage() override {
        ++finals;
        if (!log) return;
        log->push_back("final");
        delete this;
    }
};

class WindowLayer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_NE(win::Window::registerClass(GetModuleHandleA(nullptr), kClass, 0, nullptr, nullptr, nullptr),
                  0);
    }
    template <class W> bool make(W& w, const char* windowClass = kClass) {
        return w.create(0, windowClass, "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                        GetModuleHandleA(nullptr));
    }
};

TEST_F(WindowLayer, HandlersReachTheBoundObjectAndTheFinalMessageArrivesOnce) {
    CountingWindow a, b;
    ASSERT_TRUE(make(a));
    ASSERT_TRUE(make(b));
    EXPECT_EQ(a.handleAtCreate, a.hwnd());
    EXPECT_EQ(win::Window::fromHandle(a.hwnd()), &a);
    EXPECT_EQ(SendMessageA(b.hwnd(), WM_APP, 0, 0), 7);
    EXPECT_EQ(a.pings, 0);
    EXPECT_EQ(b.pings, 1);
    HWND ha = a.hwnd();
    DestroyWindow(ha);
    EXPECT_EQ(a.finals, 1);
    EXPECT_EQ(a.hwnd(), nullptr);
    EXPECT_FALSE(IsWindow(ha));
    DestroyWindow(b.hwnd());
    EXPECT_EQ(b.finals, 1);
}

TEST_F(WindowLayer, ASelfDeletingWindowFreesItselfWhenDestroyed) {
    Log log;
    auto* w = new CountingWindow;
    w->log = &log;
    ASSERT_TRUE(make(*w));
    DestroyWindow(w->hwnd());
    EXPECT_EQ(log, (Log{"final", "deleted"}));
}

TEST_F(WindowLayer, DestroyedInsideItsOwnHandlerTheObjectLivesUntilThatHandlerReturns) {
    Log log;
    auto* w = new CountingWindow;
    w->log = &log;
    w->destroyOnPing = true;
    ASSERT_TRUE(make(*w));
    HWND handle = w->hwnd();
    SendMessageA(handle, WM_APP, 0, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(log, (Log{"outer handler, unbound", "final", "deleted"}));
}

TEST_F(WindowLayer, AnExceptionInAHandlerStopsAtTheWindowProcedureAndIsReported) {
    CountingWindow w;
    ASSERT_TRUE(make(w));
    w.throwOnPing = true;
    PVOID catcher = AddVectoredExceptionHandler(1, catchDebugOutput);
    g_debugOutput.clear();
    EXPECT_EQ(SendMessageA(w.hwnd(), WM_APP, 0, 0), 0);
    RemoveVectoredExceptionHandler(catcher);
    EXPECT_EQ(w.pings, 1);
    EXPECT_NE(g_debugOutput.find("ping refused"), std::string::npos) << g_debugOutput;
    EXPECT_NE(g_debugOutput.find(kClass), std::string::npos) << g_debugOutput;
    DestroyWindow(w.hwnd());
}

TEST_F(WindowLayer, AChildsNotificationsReachItsOwnObjectFirstAndOnlyTheRestItsParent) {
    CountingWindow parent;
    CountingWindow child;
    ASSERT_TRUE(make(parent));
    ASSERT_TRUE(child.create(0, kClass, "c", WS_CHILD, 0, 0, 5, 5, parent.hwnd(), reinterpret_cast<HMENU>(7),
                             GetModuleHandleA(nullptr)));
    const auto send = [&](UINT msg, WPARAM wParam, const void* lParam) {
        return SendMessageA(parent.hwnd(), msg, wParam, reinterpret_cast<LPARAM>(lParam));
    };
    for (UINT code : {kMine, kMine + 1}) {
        const LRESULT expected = code == kMine ? kAnswer : 1;
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_BUTTON;
        draw.itemID = code;
        draw.hwndItem = child.hwnd();
        const NMHDR header{child.hwnd(), 7, code};
        EXPECT_EQ(send(WM_COMMAND, MAKEWPARAM(7, code), child.hwnd()), expected);
        EXPECT_EQ(send(WM_DRAWITEM, 7, &draw), expected);
        EXPECT_EQ(send(WM_NOTIFY, 7, &header), expected);
    }
    EXPECT_EQ(child.reflected, (std::vector<UINT>{WM_COMMAND, WM_DRAWITEM, WM_NOTIFY}));
    EXPECT_EQ(parent.heard, (std::vector<UINT>{WM_COMMAND, WM_DRAWITEM, WM_NOTIFY}));
    DestroyWindow(parent.hwnd());
}

TEST_F(WindowLayer, FailedCreationStillDeliversTheFinalMessageOnce) {
    // A creation handler that throws fails the creation too, instead of leaving a half-made window.
    for (bool throws : {false, true}) {
        CountingWindow w;
        w.failCreate = !throws;
        w.throwOnCreate = throws;
        EXPECT_FALSE(make(w)) << throws;
        EXPECT_EQ(w.finals, 1);
        EXPECT_EQ(w.hwnd(), nullptr);
    }
    // Failing before the window exists at all (no such class) still releases a self-owning object.
    Log log;
    auto* early = new CountingWindow;
    early->log = &log;
    EXPECT_FALSE(make(*early, "CorvaneNoSuchClass"));
    EXPECT_EQ(log, (Log{"final", "deleted"}));
}

TEST_F(WindowLayer, SubclassingAControlRoutesItsMessagesAndUnbindsAtDestruction) {
    HWND button =
        CreateWindowExA(0, "BUTTON", "b", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    CountingWindow w;
    ASSERT_TRUE(w.subclass(button));
    EXPECT_EQ(win::Window::fromHandle(button), &w);
    EXPECT_EQ(SendMessageA(button, WM_APP, 0, 0), 7);
    char text[8] = {};
    GetWindowTextA(button, text, sizeof(text));
    EXPECT_STREQ(text, "b"); // unhandled messages reach the control's own procedure
    DestroyWindow(button);
    EXPECT_EQ(w.finals, 1);
    EXPECT_EQ(w.hwnd(), nullptr);
}

TEST_F(WindowLayer, AnObjectDestroyedBeforeItsWindowLeavesTheWindowUnbound) {
    HWND h;
    {
        CountingWindow w;
        ASSERT_TRUE(make(w));
        h = w.hwnd();
    }
    EXPECT_EQ(win::Window::fromHandle(h), nullptr);
    EXPECT_EQ(SendMessageA(h, WM_APP, 0, 0), 0);
    DestroyWindow(h);
}

// What a paint drawn without BeginPaint saw: its area, its clip, and how often it ran.
struct UpdateSeen {
    int paints = 0;
    bool drew = false;
    RECT area{}, clip{};
};
UpdateSeen g_update;
LRESULT CALLBACK updatePainter(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_PAINT) return DefWindowProcA(w, msg, wParam, lParam);
    ++g_update.paints;
    win::UpdateScope paint(w);
    g_update.drew = paint.region() != nullptr;
    if (g_update.drew) {
        g_update.area = paint.area();
        GetClipBox(paint.dc(), &g_update.clip);
    }
    return 0;
}

TEST(UpdateScope, DrawsOnlyWhatWasDueAndLeavesNothingDueEvenWhenNothingWas) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = updatePainter;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CorvaneUpdateScopeTest";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, wc.lpszClassName, "u", WS_POPUP | WS_VISIBLE, 0, 0, 200, 40, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    UpdateWindow(w);
    const RECT left{10, 5, 30, 25}, right{150, 5, 170, 25};
    InvalidateRect(w, &left, TRUE);
    InvalidateRect(w, &right, TRUE);
    g_update = {};
    UpdateWindow(w);
    EXPECT_TRUE(g_update.drew);
    const RECT both{10, 5, 170, 25};
    EXPECT_TRUE(EqualRect(&g_update.area, &both));
    EXPECT_TRUE(EqualRect(&g_update.clip, &both));
    EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
    // A paint asked for with no region (an internal paint) draws nothing, and must not be asked again.
    RedrawWindow(w, nullptr, nullptr, RDW_INTERNALPAINT);
    g_update = {};
    UpdateWindow(w);
    MSG msg;
    while (PeekMessageA(&msg, w, WM_PAINT, WM_PAINT, PM_REMOVE) && g_update.paints < 5)
        DispatchMessageA(&msg);
    EXPECT_FALSE(g_update.drew);
    EXPECT_LE(g_update.paints, 1);
    DestroyWindow(w);
}

TEST(Handles, MoveOnlyHandlesCloseExactlyOnce) {
    win::KernelHandle a(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(a);
    HANDLE raw = a.get();
    win::KernelHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), raw);
    b.reset();
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));
}

TEST(Handles, RegistryKeyIsClosedAtScopeEnd) {
    HKEY raw = nullptr;
    {
        win::RegKey key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.out()), ERROR_SUCCESS);
        raw = key.get();
        EXPECT_NE(raw, nullptr);
    }
    DWORD n = 0;
    EXPECT_NE(RegQueryInfoKeyA(raw, nullptr, nullptr, nullptr, &n, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(Worker, RunsOnlyAfterStartAndOutlivesItsOwner) {
    win::KernelHandle go(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    win::KernelHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE goRaw = go.get(), doneRaw = done.get();
    {
        win::WorkerThread t([=] {
            WaitForSingleObject(goRaw, 5000);
            SetEvent(doneRaw);
        });
        ASSERT_TRUE(t.create());
        EXPECT_FALSE(t.wait(50)); // suspended
        ASSERT_TRUE(t.start());
    } // released while the thread still waits
    SetEvent(goRaw);
    EXPECT_EQ(WaitForSingleObject(doneRaw, 5000), WAIT_OBJECT_0);
}

} // namespace
