// The screen's pixels as everyone sees them, bitmaps from program files, and text rendered for comparison.
// Pixel rows are COLORREF values, row by row from the top.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kit {

std::vector<COLORREF> screenPixels(const RECT& screen);
COLORREF screenPixel(POINT screen);
inline COLORREF screenPixel(int x, int y) {
    return screenPixel(POINT{x, y});
}

// A strip bitmap of three frames side by side, from a program file's resources.
struct Strip {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};
Strip loadStrip(const std::string& programFile, WORD id);
// How many pixels of the screen at (left, top) differ from one frame of the strip.
int differingPixels(int left, int top, const Strip& strip, int frame);

// Text drawn the way a button draws it (DrawTextW, single line, centred vertically, ellipsis) in a bitmap of
// the given size filled with the background; the font is the bar's default unless a face and height are
// given.
std::vector<COLORREF> renderButtonText(const std::string& utf8, SIZE size, COLORREF background,
                                       COLORREF colour, const std::string& face = "MS Sans Serif",
                                       int fontHeight = -11);

// Saves a part of the screen as a 32-bit BMP file (for a look at a failure).
bool saveScreen(const RECT& area, const char* path);

} // namespace kit
