// Text is UTF-8 inside the program and UTF-16 at every call into the system; these convert at that edge.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace win {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);
// Bytes in a code page (CP_ACP for the system's ANSI page) as UTF-8.
std::string fromCodePage(std::string_view bytes, UINT codePage);

// A window's text as UTF-8, read through the wide call so characters outside the ANSI code page survive.
std::string windowText(HWND window);
bool setWindowText(HWND window, std::string_view utf8);
// The text the system keeps for another program's window, read without a message to it, so that a program
// that does not answer cannot hold the reader; in full, however long.
std::string storedWindowText(HWND window);

// A server's answer: UTF-8 when the bytes are valid UTF-8, else the ANSI code page of older servers.
std::string serverText(std::string_view body);

} // namespace win
