// Memory DC and DIB section kept together, so drawing and reading pixels use one object.
#include "ui/DibSurface.h"
#include "ui/TopDownDib.h"

#include <algorithm>

namespace vivu {

DibSurface::~DibSurface() {
    Release();
}

void DibSurface::Release() {
    if (dc_) {
        if (oldBitmap_) SelectObject(dc_, oldBitmap_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    oldBitmap_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

bool DibSurface::Resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (dc_ && width == width_ && height == height_) return true;
    // Keep the DC (and the font selected into it); only the bitmap changes.
    HDC dc = dc_ ? dc_ : CreateCompatibleDC(nullptr);
    if (!dc) return false;
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(width, height, &bits);
    if (!bitmap) {
        if (!dc_) DeleteDC(dc);
        return false;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    if (bitmap_) {
        DeleteObject(bitmap_);
    } else {
        oldBitmap_ = previous;
    }
    dc_ = dc;
    bitmap_ = bitmap;
    bits_ = bits;
    width_ = width;
    height_ = height;
    return true;
}

COLORREF DibSurface::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    GdiFlush();
    return DibToColour(bits_[y * width_ + x]);
}

void DibSurface::SetPixel(int x, int y, COLORREF colour) {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    bits_[y * width_ + x] = ColourToDib(colour);
}

void DibSurface::Fill(COLORREF colour) {
    FillRect(0, 0, width_, height_, colour);
}

void DibSurface::FillRect(int left, int top, int width, int height, COLORREF colour) {
    if (!bits_) return;
    GdiFlush();
    const int x0 = std::max(left, 0), x1 = std::min(left + width, width_);
    const int y0 = std::max(top, 0), y1 = std::min(top + height, height_);
    const uint32_t pixel = ColourToDib(colour);
    for (int y = y0; y < y1; ++y) std::fill(bits_ + y * width_ + x0, bits_ + y * width_ + std::max(x0, x1), pixel);
}

} // namespace vivu
