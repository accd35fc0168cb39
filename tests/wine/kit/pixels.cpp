#include "kit/pixels.h"

#include <algorithm>
#include <cstdio>

namespace kit {

namespace {
BITMAPINFO topDown(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

std::vector<COLORREF> bitmapPixels(HBITMAP bitmap, int width, int height) {
    BITMAPINFO bi = topDown(width, height);
    std::vector<COLORREF> px(static_cast<size_t>(width) * static_cast<size_t>(height));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    // DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
    std::transform(px.begin(), px.end(), px.begin(),
                   [](DWORD p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); });
    return px;
}

// A memory bitmap of the screen's format, selected into a memory device context for its lifetime.
class Canvas {
  public:
    Canvas(int width, int height)
        : screen_(GetDC(nullptr)), dc_(CreateCompatibleDC(screen_)),
          bitmap_(CreateCompatibleBitmap(screen_, width, height)), old_(SelectObject(dc_, bitmap_)),
          width_(width), height_(height) {}
    ~Canvas() {
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        ReleaseDC(nullptr, screen_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return dc_; }
    HDC screen() const { return screen_; }
    std::vector<COLORREF> pixels() {
        SelectObject(dc_, old_);
        std::vector<COLORREF> px = bitmapPixels(bitmap_, width_, height_);
        SelectObject(dc_, bitmap_);
        return px;
    }

  private:
    HDC screen_, dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    int width_, height_;
};
} // namespace

std::vector<COLORREF> screenPixels(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};
    Canvas canvas(width, height);
    BitBlt(canvas.dc(), 0, 0, width, height, canvas.screen(), r.left, r.top, SRCCOPY);
    return canvas.pixels();
}

COLORREF screenPixel(POINT p) {
    std::vector<COLORREF> px = screenPixels({p.x, p.y, p.x + 1, p.y + 1});
    return px.empty() ? CLR_INVALID : px[0];
}

Strip loadStrip(const std::string& programFile, WORD id) {
    Strip s;
    HMODULE module = LoadLibraryExA(programFile.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return s;
    auto bmp = static_cast<HBITMAP>(
        LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    if (bmp) {
        BITMAP info{};
        GetObjectA(bmp, sizeof(info), &info);
        s.width = info.bmWidth;
        s.height = info.bmHeight;
        s.pixels = bitmapPixels(bmp, s.width, s.height);
        DeleteObject(bmp);
    }
    FreeLibrary(module);
    return s;
}

int differingPixels(int left, int top, const Strip& strip, int frame) {
    const int fw = strip.width / 3;
    if (fw == 0) return -1;
    const std::vector<COLORREF> shown = screenPixels({left, top, left + fw, top + strip.height});
    int differ = 0;
    for (int y = 0; y < strip.height; ++y)
        for (int x = 0; x < fw; ++x)
            if (shown[static_cast<size_t>(y * fw + x)] != strip.at(frame * fw + x, y)) ++differ;
    return differ;
}

std::vector<COLORREF> renderButtonText(const std::string& utf8, SIZE size, COLORREF background,
                                       COLORREF colour, const std::string& face, int fontHeight) {
    Canvas canvas(size.cx, size.cy);
    std::wstring wideFace(face.begin(), face.end()), text(utf8.size() + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(
        0,
        MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), static_cast<int>(text.size())) - 1)));
    // The bar's button font with the other font settings at their defaults.
    HFONT font = CreateFontW(fontHeight, 0, 0, 0, 400, 0, 0, 0, 1, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, wideFace.c_str());
    HGDIOBJ oldFont = SelectObject(canvas.dc(), font);
    RECT all{0, 0, size.cx, size.cy};
    SetBkColor(canvas.dc(), background);
    ExtTextOutA(canvas.dc(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), colour);
    DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &all,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(canvas.dc(), oldFont);
    DeleteObject(font);
    return canvas.pixels();
}

bool saveScreen(const RECT& area, const char* path) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    const std::vector<COLORREF> px = screenPixels(area);
    std::vector<DWORD> rows(px.size());
    std::transform(px.begin(), px.end(), rows.begin(), [](COLORREF c) {
        return DWORD{GetRValue(c)} << 16 | DWORD{GetGValue(c)} << 8 | GetBValue(c);
    });
    BITMAPINFO info = topDown(w, h);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rows.size() * sizeof(DWORD));
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    const bool ok = std::fwrite(&file, sizeof(file), 1, f) == 1 &&
                    std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, f) == 1 &&
                    std::fwrite(rows.data(), sizeof(DWORD), rows.size(), f) == rows.size();
    std::fclose(f);
    return ok;
}

} // namespace kit
