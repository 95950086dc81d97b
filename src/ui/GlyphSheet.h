// The tab strip's glyph sheet (four anti-aliased 12 × 12 glyphs) and the blending that colours them.
#pragma once

#include <array>
#include <cstdint>

namespace vivu {

// 0x00BBGGRR, the layout of a Win32 COLORREF, so values pass to GDI unchanged.
using Colour = uint32_t;

constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Sheet order: the glyph's column in the sheet is 12 × (value − 1).
enum class StripGlyph : int { PinLying = 1, Close = 2, DropDown = 3, PinUpright = 4 };

// One channel moved from back towards fore by coverage m (0 keeps back, 255 gives fore).
int BlendChannel(int back, int fore, int m);
Colour BlendColour(Colour back, Colour fore, int m);

constexpr int kGlyphSize = 12;
using GlyphImage = std::array<Colour, kGlyphSize * kGlyphSize>; // rows top to bottom

class GlyphSheet {
public:
    static constexpr int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
    static constexpr Colour Rgb(int r, int g, int b) {
        return static_cast<Colour>(ClampByte(r)) | static_cast<Colour>(ClampByte(g)) << 8 |
               static_cast<Colour>(ClampByte(b)) << 16;
    }

    static constexpr int kGlyphCount = 4;
    static constexpr int kWidth = kGlyphSize * kGlyphCount;
    static constexpr int kHeight = kGlyphSize;

    // Draws the four glyphs white on black.
    GlyphSheet();

    // Coverage 0–255 at a sheet pixel; 0 outside the sheet.
    int Value(int x, int y) const;

    // The glyph as a 12 × 12 picture: background everywhere, glyph pixels blended
    // towards the glyph colour by their coverage so the edges stay smooth.
    GlyphImage ProcessImage(StripGlyph glyph, Colour background, Colour glyphColour) const;

private:
    std::array<uint8_t, kWidth * kHeight> values_{};
};

} // namespace vivu
