// Decoding PNG bytes into a DIB: straight and premultiplied pixels, blending, bad input, the logo resource.
#include "ui/AboutWindow.h"
#include "ui/DibSurface.h"
#include "ui/PngImage.h"

#include "png_bytes.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vivu {
namespace {

const std::vector<Rgba> kPixels = {
    {255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0}, {10, 20, 30, 255}, {200, 100, 50, 64}, {255, 255, 255, 255},
};

uint32_t Argb(const Rgba& p) {
    return uint32_t{p.a} << 24 | uint32_t{p.r} << 16 | uint32_t{p.g} << 8 | p.b;
}

TEST(PngImageTest, DecodesStraightColoursAndAlpha) {
    const PngImage image(EncodePng(3, 2, kPixels));
    ASSERT_FALSE(image.Empty());
    EXPECT_EQ(3, image.Width());
    EXPECT_EQ(2, image.Height());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(Argb(kPixels[y * 3 + x]), image.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(0u, image.Pixel(3, 0));
}

TEST(PngImageTest, BitmapIsATopDownPremultipliedDib) {
    const PngImage image(EncodePng(3, 2, kPixels));
    DIBSECTION dib{};
    ASSERT_EQ(static_cast<int>(sizeof(dib)), GetObjectW(image.Bitmap(), sizeof(dib), &dib));
    EXPECT_EQ(32, dib.dsBm.bmBitsPixel);
    EXPECT_EQ(3, dib.dsBm.bmWidth);
    const auto* bits = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    // The first row in memory is the picture's top row.
    EXPECT_EQ(0xFFFF0000u, bits[0]);
    EXPECT_EQ(0xFF0A141Eu, bits[3]);
    EXPECT_EQ(0x80008000u, bits[1]); // green 255 at alpha 128
    EXPECT_EQ(0x00000000u, bits[2]);
    EXPECT_EQ(0x4032190Du, bits[4]); // 200, 100, 50 at alpha 64
}

TEST(PngImageTest, OpaqueBitmapLaysThePictureOverTheBackground) {
    const PngImage image(EncodePng(3, 2, kPixels));
    HBITMAP opaque = image.CreateOpaqueBitmap(RGB(0, 0, 255));
    ASSERT_NE(nullptr, opaque);
    DIBSECTION dib{};
    GetObjectW(opaque, sizeof(dib), &dib);
    const auto* bits = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    EXPECT_EQ(0x00FF0000u, bits[0]);
    EXPECT_EQ(0x0000807Fu, bits[1]); // half green over blue
    EXPECT_EQ(0x000000FFu, bits[2]); // transparent: the background
    DeleteObject(opaque);
}

TEST(PngImageTest, DrawBlendsWithWhatIsBelow) {
    const PngImage image(EncodePng(3, 2, kPixels));
    DibSurface surface;
    ASSERT_TRUE(surface.Resize(3, 2));
    surface.Fill(RGB(0, 0, 0));
    image.Draw(surface.Dc(), 0, 0, 3, 2);
    GdiFlush();
    EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(0, 0));
    EXPECT_NEAR(128, GetGValue(surface.Pixel(1, 0)), 1);
    EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(2, 0));
    EXPECT_EQ(RGB(10, 20, 30), surface.Pixel(0, 1));
}

TEST(PngImageTest, AnythingButAPngLeavesTheImageEmpty) {
    const std::string good = EncodePng(3, 2, kPixels);
    for (const std::string& bad : {std::string(), std::string("not a png at all"), good.substr(0, good.size() / 2),
                                   good.substr(0, 8) + std::string(40, '\0')}) {
        const PngImage image(bad);
        EXPECT_TRUE(image.Empty());
        EXPECT_EQ(nullptr, image.Bitmap());
        EXPECT_EQ(0, image.Width());
    }
}

TEST(PngImageTest, MovingHandsTheBitmapOver) {
    PngImage first(EncodePng(3, 2, kPixels));
    HBITMAP bitmap = first.Bitmap();
    PngImage second(std::move(first));
    EXPECT_EQ(bitmap, second.Bitmap());
    EXPECT_TRUE(first.Empty());
    PngImage third;
    third = std::move(second);
    EXPECT_EQ(bitmap, third.Bitmap());
    EXPECT_EQ(3, third.Width());
}

TEST(PngImageTest, TheLogoResourceIsLinkedInAndDecodes) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, kAboutLogoResource, MAKEINTRESOURCEW(10));
    ASSERT_NE(nullptr, resource) << "AboutWindow.rc is not linked into this executable";
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    const PngImage logo(std::string_view(bytes, SizeofResource(module, resource)));
    ASSERT_FALSE(logo.Empty());
    EXPECT_EQ(119, logo.Width());
    EXPECT_EQ(32, logo.Height());
}

} // namespace
} // namespace vivu
