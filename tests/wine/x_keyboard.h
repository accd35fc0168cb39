// Shift held in the X server as well as in Wine's input. Wine re-reads the X keyboard whenever the focus or
// the pointer moves between its windows and takes back a Shift that X never saw, so a Shift sent with
// SendInput alone may be gone by the time a click arrives. xdotool presses it for real (through XTest).
#pragma once
#include <windows.h>

#include <string>

namespace xkeyboard {

inline bool& shiftHeld() {
    static bool held = false;
    return held;
}

// Presses or releases Shift in the X server; returns whether xdotool ran. Without xdotool nothing happens.
inline bool holdShift(bool down) {
    if (!down && !shiftHeld()) return true;
    static const bool present = GetFileAttributesA("Z:\\usr\\bin\\xdotool") != INVALID_FILE_ATTRIBUTES;
    if (!present) return false;
    std::string command =
        std::string("start.exe /wait /unix /usr/bin/xdotool ") + (down ? "keydown" : "keyup") + " shift";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &si, &pi))
        return false;
    bool done = WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    shiftHeld() = down;
    return done;
}

} // namespace xkeyboard
