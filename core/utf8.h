// Text inside the program is UTF-8; these rules judge bytes that come from outside (a server's answer).
#pragma once
#include <cstdint>
#include <string_view>

namespace core {

// Whether the bytes are well-formed UTF-8: shortest forms only, no surrogate halves, nothing above U+10FFFF.
// Plain ASCII is valid UTF-8.
bool isValidUtf8(std::string_view bytes);

// The launch result code (as the old launcher's: 0, 2, 3, 11, above 31 for success) for the system error a
// failed process start left, so the four launch messages keep their meaning.
uintptr_t launchResultForError(uint32_t systemError);

} // namespace core
