// Converting between UTF-8, GBK and UTF-16 with real bytes, and detection.
#include "kova/Encoding.h"

#include <gtest/gtest.h>

using namespace kova;

namespace {
const std::string kUtf8 = "JSON 中文：汉字，“引号”";
// The same text in code page 936.
const std::string kGbk = "JSON \xD6\xD0\xCE\xC4\xA3\xBA\xBA\xBA\xD7\xD6\xA3\xAC\xA1\xB0\xD2\xFD\xBA\xC5\xA1\xB1";
const std::string kUtf16Le =
    std::string("J\0S\0O\0N\0 \0\x2D\x4E\x87\x65\x1A\xFF\x49\x6C\x57\x5B\x0C\xFF\x1C\x20\x15\x5F\xF7\x53\x1D\x20", 30);
} // namespace

TEST(Encoding, ConvertsBetweenEncodings) {
    EXPECT_EQ(ConvertStringEncoding(kGbk, "GBK", "UTF-8"), kUtf8);
    EXPECT_EQ(ConvertStringEncoding(kUtf8, "UTF-8", "GBK"), kGbk);
    EXPECT_EQ(ConvertStringEncoding(kUtf8, "utf8"), kGbk) << "an empty target is GBK";
    EXPECT_EQ(ConvertStringEncoding(kUtf8, "UTF-8", "UTF-16LE"), kUtf16Le);
    EXPECT_EQ(ConvertStringEncoding(kUtf16Le, "UTF-16", "UTF-8"), kUtf8);
    std::string be = kUtf16Le;
    for (size_t i = 0; i < be.size(); i += 2) std::swap(be[i], be[i + 1]);
    EXPECT_EQ(ConvertStringEncoding(kUtf8, "UTF-8", "UTF-16BE"), be);
    EXPECT_EQ(ConvertStringEncoding(be, "UTF-16BE", "GBK"), kGbk);
    EXPECT_EQ(ConvertStringEncoding("", "GBK", "UTF-8"), "");
    EXPECT_EQ(ConvertStringEncoding(kUtf8, "EBCDIC", "UTF-8"), "") << "unknown names give nothing";
}

TEST(Encoding, CharactersOutsideGbk) {
    // Emoji survive UTF-8 <-> UTF-16 and become "?" only when GBK is asked for.
    const std::string emoji = "a😀b";
    EXPECT_EQ(ConvertStringEncoding(ConvertStringEncoding(emoji, "UTF-8", "UTF-16LE"), "UTF-16LE", "UTF-8"), emoji);
    EXPECT_EQ(ConvertStringEncoding(emoji, "UTF-8", "GBK"), "a?b");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(emoji)), emoji);
    EXPECT_EQ(Utf8ToUtf16(emoji).size(), 4u);
}

TEST(Encoding, InvalidBytesAreReplaced) {
    EXPECT_EQ(ConvertStringEncoding("a\xFF"
                                    "b",
                                    "UTF-8", "UTF-8"),
              "a\xEF\xBF\xBD"
              "b");
    std::string fromGbk = ConvertStringEncoding("\xD6\xD0\xFF", "GBK", "UTF-8");
    EXPECT_EQ(fromGbk.substr(0, 3), "中");
    EXPECT_TRUE(IsValidUtf8(fromGbk));
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx") << "a lone surrogate";
}

TEST(Encoding, LoneSurrogatesIntoGbkLoseOnlyThemselves) {
    // UTF-16LE: a lone high surrogate before "b", a lone low one before "c", then a pair.
    const std::string utf16 = std::string("a\0\x00\xD8"
                                          "b\0\x00\xDC"
                                          "c\0\x3D\xD8\x00\xDE"
                                          "d\0",
                                          16);
    EXPECT_EQ(ConvertStringEncoding(utf16, "UTF-16LE", "GBK"), "a?b?c?d");
    std::string be = utf16;
    for (size_t i = 0; i < be.size(); i += 2) std::swap(be[i], be[i + 1]);
    EXPECT_EQ(ConvertStringEncoding(be, "UTF-16BE", "GBK"), "a?b?c?d");
    EXPECT_EQ(ConvertStringEncoding(std::string("a\0\x00\xD8", 4), "UTF-16LE", "GBK"), "a?") << "at the end";
}

TEST(Encoding, Detection) {
    size_t bom = 9;
    EXPECT_EQ(DetectEncoding(kUtf8, &bom), "UTF-8");
    EXPECT_EQ(bom, 0u);
    EXPECT_EQ(DetectEncoding(kGbk), "GBK");
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF{}", &bom), "UTF-8");
    EXPECT_EQ(bom, 3u);
    EXPECT_EQ(DetectEncoding("\xFF\xFE{\0", &bom), "UTF-16LE");
    EXPECT_EQ(bom, 2u);
    EXPECT_EQ(DetectEncoding("\xFE\xFF\0{", &bom), "UTF-16BE");
    EXPECT_EQ(DetectEncoding(""), "UTF-8");
    // With no source name the text is detected and the mark dropped.
    EXPECT_EQ(ConvertStringEncoding("\xEF\xBB\xBF" + kUtf8, "", "UTF-8"), kUtf8);
    EXPECT_EQ(ConvertStringEncoding(kGbk, "", "UTF-8"), kUtf8);
    EXPECT_EQ(ConvertStringEncoding(std::string("\xFF\xFE", 2) + kUtf16Le, "", "UTF-8"), kUtf8);
}

TEST(Encoding, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("中文😀"));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));         // cut short
}

TEST(Encoding, GbkByteLengthCountsAsciiOnceAndOthersTwice) {
    EXPECT_EQ(GbkByteLength(""), 0);
    EXPECT_EQ(GbkByteLength("abc"), 3);
    EXPECT_EQ(GbkByteLength("中文a"), 5);
    EXPECT_EQ(GbkByteLength("😀"), 2);
    EXPECT_EQ(GbkByteLength("\xFF"
                            "a"),
              3);
    EXPECT_EQ(GbkByteLength(kUtf8), static_cast<int64_t>(kGbk.size()));
}
