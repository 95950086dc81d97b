// Long values: cut after 120 bytes as GBK counts them, between characters, "..." appended.
#include "view/TruncateValue.h"

#include <gtest/gtest.h>

#include <string>

using namespace vivu;

namespace {

std::string Times(int n, std::string_view piece) {
    std::string text;
    for (int i = 0; i < n; ++i) text += piece;
    return text;
}

} // namespace

TEST(TruncateValue, CutsAt120GbkBytesBetweenCharacters) {
    const std::string a119 = std::string(119, 'a');
    const struct {
        std::string text;
        std::string expected;
        bool cut;
    } cases[] = {
        {"", "", false},
        {std::string(120, 'a'), std::string(120, 'a'), false},
        {std::string(121, 'a'), std::string(120, 'a') + "...", true},
        {std::string(200, 'a'), std::string(120, 'a') + "...", true},
        // 60 Chinese characters are 180 UTF-8 bytes but 120 GBK bytes: whole.
        {Times(60, "中"), Times(60, "中"), false},
        {Times(61, "中"), Times(60, "中") + "...", true},
        {std::string(118, 'a') + "中", std::string(118, 'a') + "中", false},
        {std::string(118, 'a') + "中文", std::string(118, 'a') + "中...", true},
        // Byte 120 begins a double-byte character: 121 bytes stay before the "...".
        {a119 + "中", a119 + "中...", true},
        {a119 + "中文字", a119 + "中...", true},
        {a119 + "中b", a119 + "中...", true},
        // Characters outside the Basic Multilingual Plane count as one double-byte character.
        {Times(59, "中") + "😀", Times(59, "中") + "😀", false},
        {Times(59, "中") + "😀😀", Times(59, "中") + "😀...", true},
        {"\n" + std::string(120, ' '), "\n" + std::string(119, ' ') + "...", true},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(TruncateValue(text), c.cut) << c.text;
        EXPECT_EQ(text, c.expected) << c.text;
    }
}

TEST(TruncateValue, TruncationPointIsTheLengthKept) {
    EXPECT_EQ(TruncationPoint(std::string(200, 'x')), 120u);
    EXPECT_EQ(TruncationPoint(std::string(119, 'x') + "中文"), 122u); // 119 + 3 UTF-8 bytes
    EXPECT_EQ(TruncationPoint(Times(80, "中")), 180u);
    EXPECT_EQ(TruncationPoint(std::string(120, 'x')), std::string_view::npos);
}
