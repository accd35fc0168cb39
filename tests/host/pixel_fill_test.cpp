#include "core/pixel_fill.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Each case: the rectangle, and the pixels of a 4x3 buffer it must set (row by row, 1 = filled).
TEST(PixelFill, FillsNormalisedAndClipped) {
    struct Case {
        core::Rect r;
        const char* expected;
    };
    const Case cases[] = {
        {{1, 1, 3, 2},
         "0000"
         "0110"
         "0000"},
        {{3, 2, 1, 1},
         "0000"
         "0110"
         "0000"}, // inverted: normalised
        {{-5, -5, 2, 9},
         "1100"
         "1100"
         "1100"}, // clipped to the buffer
        {{2, 1, 2, 3},
         "0000"
         "0000"
         "0000"}, // empty
        {{4, 0, 9, 3},
         "0000"
         "0000"
         "0000"}, // wholly outside
    };
    for (const Case& c : cases) {
        std::vector<std::uint32_t> pixels(12, 0);
        core::fillPixels(pixels.data(), 4, 3, c.r, 7);
        std::string got;
        for (std::uint32_t p : pixels)
            got += p == 7 ? '1' : '0';
        EXPECT_EQ(got, c.expected) << c.r.left << "," << c.r.top << "," << c.r.right << "," << c.r.bottom;
    }
    EXPECT_EQ(core::pixelOf(0x00B9E3F8u), 0x00F8E3B9u);
}

} // namespace
