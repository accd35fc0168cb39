#include "input_support.h"

#include "x_keyboard.h"

#include <vector>

namespace input {

namespace {
void sendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(in));
}

INPUT key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}
} // namespace

bool moveTo(int x, int y) {
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    // Absolute coordinates run from 0 to 65535 across the screen; round to the pixel's centre.
    LONG dx = static_cast<LONG>((x * 65536LL + 32768) / w);
    LONG dy = static_cast<LONG>((y * 65536LL + 32768) / h);
    sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
    // The pointer moves once the input is taken from the queue, which may be this thread's own when one of
    // its windows is under the pointer or in front: keep this thread's messages flowing meanwhile.
    DWORD start = GetTickCount();
    for (;;) {
        POINT p{};
        GetCursorPos(&p);
        if (p.x == x && p.y == y) return true;
        if (GetTickCount() - start > 2000) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}

void leftDown() {
    sendMouse(MOUSEEVENTF_LEFTDOWN);
}
void leftUp() {
    sendMouse(MOUSEEVENTF_LEFTUP);
}
void rightDown() {
    sendMouse(MOUSEEVENTF_RIGHTDOWN);
}
void rightUp() {
    sendMouse(MOUSEEVENTF_RIGHTUP);
}

void pressKey(UINT modifiers, WORD virtualKey) {
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
    SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT));
}

void shift(bool down) {
    xkeyboard::holdShift(down);
    INPUT in = key(VK_SHIFT, !down);
    SendInput(1, &in, sizeof(in));
}

} // namespace input
