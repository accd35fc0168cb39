#include "kit/input.h"

#include "kit/process.h"
#include "kit/wait.h"

#include <vector>

namespace kit {

namespace {
POINT g_pointer{};

INPUT mouseAt(POINT screen, DWORD flags) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the screen; round to the pixel's centre.
    in.mi.dx = static_cast<LONG>((screen.x * 65536LL + 32768) / w);
    in.mi.dy = static_cast<LONG>((screen.y * 65536LL + 32768) / h);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

INPUT key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

void send(std::vector<INPUT> in) {
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

bool pointerAt(POINT p) {
    POINT now{};
    GetCursorPos(&now);
    return now.x == p.x && now.y == p.y;
}

// The pointer moves once the input is taken from the queue, which may be this thread's own: its messages
// flow meanwhile. Checked before each round, so that a test's own loop still sees the pointer's messages.
bool arrived(POINT p) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 2000; Sleep(5)) {
        if (pointerAt(p)) return true;
        pump();
    }
    return false;
}

// Two round trips through another thread under the point: it has read its pending display events by then,
// among them a pointer position the display replays after a window appeared.
void syncWith(POINT screen) {
    DWORD_PTR ignored = 0;
    HWND under = WindowFromPoint(screen);
    if (!under || GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId()) return;
    for (int i = 0; i < 2; ++i)
        SendMessageTimeoutA(under, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
}
} // namespace

bool moveTo(POINT screen) {
    g_pointer = screen;
    for (int attempt = 0; attempt < 3; ++attempt) {
        send({mouseAt(screen, 0)});
        if (!arrived(screen)) continue;
        syncWith(screen);
        if (pointerAt(screen)) return true;
    }
    return false;
}

namespace {
// A button event where the pointer was put. It carries that position only when the pointer is no longer
// there: a move, even to where the pointer is, makes Wine read the X keyboard again.
void buttonEvent(DWORD flag) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    send({pointerAt(g_pointer) ? in : mouseAt(g_pointer, flag)});
}
} // namespace

void leftDown() {
    buttonEvent(MOUSEEVENTF_LEFTDOWN);
}
void leftUp() {
    buttonEvent(MOUSEEVENTF_LEFTUP);
}
void middleDown() {
    buttonEvent(MOUSEEVENTF_MIDDLEDOWN);
}
void middleUp() {
    buttonEvent(MOUSEEVENTF_MIDDLEUP);
}

void click(POINT screen, bool right) {
    moveTo(screen);
    const DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    const DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    send({mouseAt(screen, down), mouseAt(screen, up)});
    settle();
}

void doubleClick(POINT screen) {
    moveTo(screen);
    send({mouseAt(screen, MOUSEEVENTF_LEFTDOWN), mouseAt(screen, MOUSEEVENTF_LEFTUP),
          mouseAt(screen, MOUSEEVENTF_LEFTDOWN), mouseAt(screen, MOUSEEVENTF_LEFTUP)});
    settle();
}

void middleClick(POINT screen) {
    moveTo(screen);
    send({mouseAt(screen, MOUSEEVENTF_MIDDLEDOWN), mouseAt(screen, MOUSEEVENTF_MIDDLEUP)});
    settle();
}

void shiftClick(POINT screen) {
    // The pointer settles first; Shift and the press then travel in one batch.
    holdShift(true);
    moveTo(screen);
    send({key(VK_SHIFT, false), mouseAt(screen, MOUSEEVENTF_LEFTDOWN), mouseAt(screen, MOUSEEVENTF_LEFTUP)});
    settle();
}

void pressKey(WORD virtualKey, UINT modifiers) {
    std::vector<WORD> mods;
    if (modifiers & MOD_CONTROL) mods.push_back(VK_CONTROL);
    if (modifiers & MOD_ALT) mods.push_back(VK_MENU);
    if (modifiers & MOD_SHIFT) mods.push_back(VK_SHIFT);
    std::vector<INPUT> seq;
    for (WORD m : mods)
        seq.push_back(key(m, false));
    seq.push_back(key(virtualKey, false));
    seq.push_back(key(virtualKey, true));
    for (auto it = mods.rbegin(); it != mods.rend(); ++it)
        seq.push_back(key(*it, true));
    send(seq);
    settle();
}

void holdShift(bool down) {
    static bool held = false;
    static const bool xdotool = GetFileAttributesA("Z:\\usr\\bin\\xdotool") != INVALID_FILE_ATTRIBUTES;
    if (xdotool && (down || held)) {
        Process x;
        if (x.start(std::string("start.exe /wait /unix /usr/bin/xdotool ") + (down ? "keydown" : "keyup") +
                    " shift"))
            x.waitExit(10000);
        held = down;
        // The X server's key reaches Wine when the Wine process with the X focus reads it. A release still
        // unread there could come after the press sent below and undo it: the key is waited for first.
        waitFor([&] { return (GetAsyncKeyState(VK_SHIFT) < 0) == down; }, 2000);
    }
    send({key(VK_SHIFT, !down)});
}

} // namespace kit
