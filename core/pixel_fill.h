// Solid fills written straight into a 32-bit top-down pixel buffer: a strip of a few hundred buttons is then
// a few thousand memory fills instead of as many drawing calls.
#pragma once
#include <cstdint>

#include "core/rect.h"

namespace core {

// A colour as the system stores it (0x00BBGGRR) as a pixel of a 32-bit buffer (0x00RRGGBB).
constexpr std::uint32_t pixelOf(std::uint32_t colour) {
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

// An inverted rectangle is filled normalised, as the system's opaque fill does; what lies outside the
// buffer is left out.
void fillPixels(std::uint32_t* pixels, int width, int height, Rect r, std::uint32_t pixel);

} // namespace core
