#include "core/utf8.h"

namespace core {

namespace {
// The number of continuation bytes a lead byte announces and the smallest code point that form may hold,
// or -1 for a byte that cannot start a sequence.
int continuationCount(unsigned char lead, uint32_t& smallest) {
    if (lead < 0x80) return smallest = 0, 0;
    if (lead >= 0xC2 && lead <= 0xDF) return smallest = 0x80, 1;
    if (lead >= 0xE0 && lead <= 0xEF) return smallest = 0x800, 2;
    if (lead >= 0xF0 && lead <= 0xF4) return smallest = 0x10000, 3;
    return -1;
}
} // namespace

bool isValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        uint32_t smallest = 0;
        const int more = continuationCount(lead, smallest);
        if (more < 0 || static_cast<size_t>(more) >= bytes.size() - i) return false;
        uint32_t code = more == 0 ? lead : (lead & (0x3Fu >> more));
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += static_cast<size_t>(more) + 1;
    }
    return true;
}

uintptr_t launchResultForError(uint32_t systemError) {
    switch (systemError) {
    case 2: // file not found
    case 3: // path not found
        return systemError;
    case 11:  // bad format
    case 193: // not a valid program
    case 216: // built for another machine
        return 11;
    case 8:    // not enough memory
    case 14:   // out of memory
    case 1450: // no system resources
        return 0;
    default:
        // Any other failure had no message of its own before either.
        return 1;
    }
}

} // namespace core
