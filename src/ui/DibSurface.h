// An off-screen 32-bit drawing surface: a memory DC with a top-down DIB section whose pixels can be read.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vivu {

class DibSurface {
public:
    DibSurface() = default;
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    ~DibSurface();

    // Makes the surface width × height (at least 1 × 1); keeps it when the size is
    // unchanged. The content is undefined after a size change.
    bool Resize(int width, int height);

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Pixels as 0x00RRGGBB, row after row from the top. GDI may still be drawing
    // into them: GdiFlush() before reading what GDI drew.
    uint32_t* Bits() { return bits_; }
    const uint32_t* Bits() const { return bits_; }

    // The pixel as a COLORREF (0x00BBGGRR); 0 outside the surface.
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF colour);

    void Fill(COLORREF colour);
    void FillRect(int left, int top, int width, int height, COLORREF colour);

private:
    void Release();

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// COLORREF (0x00BBGGRR) and DIB pixel (0x00RRGGBB) differ in the order of red and blue.
inline uint32_t ColourToDib(COLORREF c) {
    return (c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF DibToColour(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

} // namespace vivu
