// The glyphs are drawn from simple shapes, sampled 4 × 4 times per pixel for anti-aliased edges.
#include "ui/GlyphSheet.h"

#include <algorithm>
#include <cmath>

namespace vivu {

namespace {

constexpr int kSamples = 4; // per axis

struct Box {
    double left, top, right, bottom;
    bool Contains(double x, double y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// A push pin standing on its needle, in glyph coordinates (0–12 on both axes).
bool InPinUpright(double x, double y) {
    static constexpr Box kParts[] = {
        {3.5, 1.0, 8.5, 2.5},  // head
        {4.5, 2.5, 7.5, 6.0},  // body
        {2.5, 6.0, 9.5, 7.5},  // collar
        {5.4, 7.5, 6.6, 11.5}, // needle
    };
    return std::any_of(std::begin(kParts), std::end(kParts), [&](const Box& b) { return b.Contains(x, y); });
}

// The same pin turned a quarter, needle to the left.
bool InPinLying(double x, double y) {
    return InPinUpright(y, kGlyphSize - x);
}

double DistanceToSegment(double x, double y, double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double t = std::clamp(((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy));
}

bool InCross(double x, double y) {
    constexpr double kHalfStroke = 0.8;
    return DistanceToSegment(x, y, 3, 3, 9, 9) <= kHalfStroke || DistanceToSegment(x, y, 9, 3, 3, 9) <= kHalfStroke;
}

// A triangle pointing down.
bool InTriangle(double x, double y) {
    constexpr double kTop = 4.0, kBottom = 8.5, kLeft = 2.0, kRight = 10.0;
    if (y < kTop || y > kBottom) return false;
    const double half = (kRight - kLeft) / 2 * (kBottom - y) / (kBottom - kTop);
    return std::abs(x - (kLeft + kRight) / 2) <= half;
}

bool InGlyph(StripGlyph glyph, double x, double y) {
    switch (glyph) {
    case StripGlyph::PinLying:
        return InPinLying(x, y);
    case StripGlyph::Close:
        return InCross(x, y);
    case StripGlyph::DropDown:
        return InTriangle(x, y);
    case StripGlyph::PinUpright:
        return InPinUpright(x, y);
    }
    return false;
}

} // namespace

int BlendChannel(int back, int fore, int m) {
    return back + (fore - back) * m / 255;
}

Colour BlendColour(Colour back, Colour fore, int m) {
    return GlyphSheet::Rgb(BlendChannel(RedOf(back), RedOf(fore), m), BlendChannel(GreenOf(back), GreenOf(fore), m),
                           BlendChannel(BlueOf(back), BlueOf(fore), m));
}

GlyphSheet::GlyphSheet() {
    for (int g = 0; g < kGlyphCount; ++g) {
        const auto glyph = static_cast<StripGlyph>(g + 1);
        for (int y = 0; y < kGlyphSize; ++y) {
            for (int x = 0; x < kGlyphSize; ++x) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx)
                        hits += InGlyph(glyph, x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                const int value = (hits * 255 + kSamples * kSamples / 2) / (kSamples * kSamples);
                values_[y * kWidth + g * kGlyphSize + x] = static_cast<uint8_t>(value);
            }
        }
    }
}

int GlyphSheet::Value(int x, int y) const {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return 0;
    return values_[y * kWidth + x];
}

GlyphImage GlyphSheet::ProcessImage(StripGlyph glyph, Colour background, Colour glyphColour) const {
    GlyphImage image;
    image.fill(background);
    const int column = kGlyphSize * (static_cast<int>(glyph) - 1);
    for (int y = 0; y < kGlyphSize; ++y) {
        for (int x = 0; x < kGlyphSize; ++x) {
            const int m = Value(column + x, y);
            if (m != 0) image[y * kGlyphSize + x] = BlendColour(background, glyphColour, m);
        }
    }
    return image;
}

} // namespace vivu
