#include "core/pixel_fill.h"

#include <algorithm>

namespace core {

void fillPixels(std::uint32_t* pixels, int width, int height, Rect r, std::uint32_t pixel) {
    if (!pixels || width <= 0 || height <= 0) return;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    const int left = std::max(r.left, 0);
    const int right = std::min(r.right, width);
    const int top = std::max(r.top, 0);
    const int bottom = std::min(r.bottom, height);
    if (left >= right || top >= bottom) return;
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * width;
        std::fill(row + left, row + right, pixel);
    }
}

} // namespace core
