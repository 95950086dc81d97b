// A PNG picture decoded from memory with libpng into a 32-bit DIB section.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace vivu {

class PngImage {
public:
    PngImage() = default;
    // Decodes the bytes; the image stays empty when they are not a PNG libpng can read.
    explicit PngImage(std::string_view png);
    PngImage(PngImage&& other) noexcept;
    PngImage& operator=(PngImage&& other) noexcept;
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
    ~PngImage();

    bool Empty() const { return bitmap_ == nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Straight (not premultiplied) colour and alpha as 0xAARRGGBB; 0 outside the image.
    uint32_t Pixel(int x, int y) const;

    // Top-down 32-bit DIB section with premultiplied alpha, as AlphaBlend wants it. Owned by the image.
    HBITMAP Bitmap() const { return bitmap_; }

    // Draws the picture with its transparency into width × height at (x, y).
    void Draw(HDC dc, int x, int y, int width, int height) const;

    // A new opaque DIB section of the picture laid over background, for controls
    // that cannot blend (a static control's bitmap). The caller deletes it.
    HBITMAP CreateOpaqueBitmap(COLORREF background) const;

private:
    void Reset();

    std::vector<uint32_t> pixels_; // straight BGRA, as 0xAARRGGBB
    HBITMAP bitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace vivu
