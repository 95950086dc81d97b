// libpng's simplified reader does its own error recovery, so no setjmp crosses C++ frames here.
#include "ui/PngImage.h"
#include "ui/TopDownDib.h"

#include <png.h>

#include <utility>

namespace vivu {

namespace {

// Larger pictures are refused rather than allocated: the program's own are a few hundred pixels.
constexpr png_uint_32 kMaxSide = 4096;

uint32_t Premultiply(uint32_t argb) {
    const uint32_t a = argb >> 24;
    auto channel = [a](uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | channel((argb >> 16) & 0xFF) << 16 | channel((argb >> 8) & 0xFF) << 8 | channel(argb & 0xFF);
}

} // namespace

PngImage::PngImage(std::string_view png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return;
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
        png_image_free(&image);
        return;
    }
    image.format = PNG_FORMAT_BGRA; // little-endian 0xAARRGGBB
    std::vector<uint32_t> pixels(static_cast<size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return;
    }
    const int width = static_cast<int>(image.width);
    const int height = static_cast<int>(image.height);
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(width, height, &bits);
    if (!bitmap) return;
    for (size_t i = 0; i < pixels.size(); ++i) bits[i] = Premultiply(pixels[i]);
    pixels_ = std::move(pixels);
    bitmap_ = bitmap;
    width_ = width;
    height_ = height;
}

PngImage::PngImage(PngImage&& other) noexcept
    : pixels_(std::move(other.pixels_)), bitmap_(std::exchange(other.bitmap_, nullptr)),
      width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)) {}

PngImage& PngImage::operator=(PngImage&& other) noexcept {
    if (this != &other) {
        Reset();
        pixels_ = std::move(other.pixels_);
        bitmap_ = std::exchange(other.bitmap_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

PngImage::~PngImage() {
    Reset();
}

void PngImage::Reset() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    pixels_.clear();
    width_ = height_ = 0;
}

uint32_t PngImage::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void PngImage::Draw(HDC dc, int x, int y, int width, int height) const {
    if (!bitmap_ || width <= 0 || height <= 0) return;
    HDC source = CreateCompatibleDC(dc);
    if (!source) return;
    HGDIOBJ old = SelectObject(source, bitmap_);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, width, height, source, 0, 0, width_, height_, blend);
    SelectObject(source, old);
    DeleteDC(source);
}

HBITMAP PngImage::CreateOpaqueBitmap(COLORREF background) const {
    if (!bitmap_) return nullptr;
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(width_, height_, &bits);
    if (!bitmap) return nullptr;
    const uint32_t back[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
    for (size_t i = 0; i < pixels_.size(); ++i) {
        const uint32_t p = pixels_[i];
        const uint32_t a = p >> 24;
        uint32_t out = 0;
        for (int c = 0; c < 3; ++c) {
            const uint32_t value = (p >> (8 * c)) & 0xFF;
            out |= ((value * a + back[c] * (255 - a) + 127) / 255) << (8 * c);
        }
        bits[i] = out;
    }
    return bitmap;
}

} // namespace vivu
