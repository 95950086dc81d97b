// The glyph sheet's shapes and the arithmetic that colours them.
#include "ui/GlyphSheet.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace vivu {
namespace {

TEST(ColourArithmetic, RgbPacksRedInTheLowByteAndClamps) {
    EXPECT_EQ(0x00030201u, GlyphSheet::Rgb(1, 2, 3));
    EXPECT_EQ(0x00CC7A00u, GlyphSheet::Rgb(0, 122, 204));
    EXPECT_EQ(0x0000FF00u, GlyphSheet::Rgb(-5, 300, 0));
    EXPECT_EQ(0, GlyphSheet::ClampByte(-1));
    EXPECT_EQ(255, GlyphSheet::ClampByte(256));
    EXPECT_EQ(77, GlyphSheet::ClampByte(77));
    EXPECT_EQ(1, RedOf(GlyphSheet::Rgb(1, 2, 3)));
    EXPECT_EQ(2, GreenOf(GlyphSheet::Rgb(1, 2, 3)));
    EXPECT_EQ(3, BlueOf(GlyphSheet::Rgb(1, 2, 3)));
}

TEST(ColourArithmetic, BlendMovesFromBackgroundTowardsGlyphByCoverage) {
    struct Row {
        int back, fore, m, expected;
    };
    const Row rows[] = {
        {0, 255, 0, 0},
        {0, 255, 255, 255},
        {0, 255, 128, 128},
        {255, 0, 128, 127}, // the fraction is cut towards
                            // the background's side of
                            // zero
        {200, 100, 51, 180},
        {100, 200, 51, 120},
        {64, 64, 200, 64},
        {10, 250, 1, 10},
        {250, 10, 1, 250},
        {250, 10, 254, 11},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.expected, BlendChannel(r.back, r.fore, r.m)) << r.back << " " << r.fore << " " << r.m;
}

TEST(ColourArithmetic, EachChannelBlendsOnItsOwn) {
    const Colour back = GlyphSheet::Rgb(0, 122, 204);
    const Colour fore = GlyphSheet::Rgb(255, 255, 255);
    const Colour mixed = BlendColour(back, fore, 102);
    EXPECT_EQ(GlyphSheet::Rgb(102, 122 + 133 * 102 / 255, 204 + 51 * 102 / 255), mixed);
    EXPECT_EQ(back, BlendColour(back, fore, 0));
    EXPECT_EQ(fore, BlendColour(back, fore, 255));
}

class GlyphSheetTest : public ::testing::Test {
protected:
    int Value(StripGlyph glyph, int x, int y) const {
        return sheet_.Value(kGlyphSize * (static_cast<int>(glyph) - 1) + x, y);
    }
    GlyphSheet sheet_;
};

TEST_F(GlyphSheetTest, ProcessImageBlendsOnlyWhereTheGlyphHasCoverage) {
    const Colour back = GlyphSheet::Rgb(160, 160, 160);
    const Colour fore = GlyphSheet::Rgb(0, 0, 0);
    for (const StripGlyph glyph :
         {StripGlyph::PinLying, StripGlyph::Close, StripGlyph::DropDown, StripGlyph::PinUpright}) {
        const GlyphImage image = sheet_.ProcessImage(glyph, back, fore);
        for (int y = 0; y < kGlyphSize; ++y) {
            for (int x = 0; x < kGlyphSize; ++x) {
                const int m = Value(glyph, x, y);
                ASSERT_EQ(BlendColour(back, fore, m), image[y * kGlyphSize + x])
                    << "glyph " << static_cast<int>(glyph) << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(GlyphSheetTest, EveryGlyphHasSolidAndSoftPixelsAndBackground) {
    std::set<std::vector<int>> shapes;
    for (const StripGlyph glyph :
         {StripGlyph::PinLying, StripGlyph::Close, StripGlyph::DropDown, StripGlyph::PinUpright}) {
        int solid = 0, soft = 0, empty = 0;
        std::vector<int> shape;
        for (int y = 0; y < kGlyphSize; ++y) {
            for (int x = 0; x < kGlyphSize; ++x) {
                const int m = Value(glyph, x, y);
                shape.push_back(m);
                solid += m == 255;
                soft += m > 0 && m < 255;
                empty += m == 0;
            }
        }
        EXPECT_GT(solid, 4) << static_cast<int>(glyph);
        EXPECT_GT(soft, 4) << static_cast<int>(glyph);
        EXPECT_GT(empty, 40) << static_cast<int>(glyph);
        shapes.insert(shape);
    }
    EXPECT_EQ(4u, shapes.size());
}

TEST_F(GlyphSheetTest, CloseCrossIsSymmetricBothWays) {
    for (int y = 0; y < kGlyphSize; ++y) {
        for (int x = 0; x < kGlyphSize; ++x) {
            EXPECT_EQ(Value(StripGlyph::Close, x, y), Value(StripGlyph::Close, kGlyphSize - 1 - x, y)) << x << "," << y;
            EXPECT_EQ(Value(StripGlyph::Close, x, y), Value(StripGlyph::Close, y, x)) << x << "," << y;
        }
    }
}

TEST_F(GlyphSheetTest, DropDownTrianglePointsDown) {
    std::vector<int> rowInk;
    for (int y = 0; y < kGlyphSize; ++y) {
        int ink = 0;
        for (int x = 0; x < kGlyphSize; ++x) ink += Value(StripGlyph::DropDown, x, y);
        if (ink > 0) rowInk.push_back(ink);
    }
    ASSERT_GE(rowInk.size(), 3u);
    for (size_t i = 1; i < rowInk.size(); ++i) EXPECT_LT(rowInk[i], rowInk[i - 1]) << "row " << i;
}

TEST_F(GlyphSheetTest, LyingPinIsTheUprightPinTurnedAQuarter) {
    for (int y = 0; y < kGlyphSize; ++y)
        for (int x = 0; x < kGlyphSize; ++x)
            EXPECT_EQ(Value(StripGlyph::PinLying, x, y), Value(StripGlyph::PinUpright, y, kGlyphSize - 1 - x))
                << x << "," << y;
    // Upright: the needle is the narrow bottom part.
    int topInk = 0, bottomInk = 0;
    for (int x = 0; x < kGlyphSize; ++x) {
        topInk += Value(StripGlyph::PinUpright, x, 2) > 0;
        bottomInk += Value(StripGlyph::PinUpright, x, 10) > 0;
    }
    EXPECT_GT(topInk, bottomInk);
    EXPECT_GT(bottomInk, 0);
}

TEST_F(GlyphSheetTest, OutsideTheSheetIsEmpty) {
    EXPECT_EQ(0, sheet_.Value(-1, 5));
    EXPECT_EQ(0, sheet_.Value(GlyphSheet::kWidth, 5));
    EXPECT_EQ(0, sheet_.Value(5, GlyphSheet::kHeight));
}

} // namespace
} // namespace vivu
