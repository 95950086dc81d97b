// Text encodings: UTF-8 decoding agrees with the Unicode table of well-formed sequences,
// conversions always give valid output, lossless conversions round-trip, and GBK conversion
// keeps one character for each character (the character or "?").
#include "fuzz/FuzzCheck.h"
#include "kova/Encoding.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kova;

namespace {

// Well-formed UTF-8 byte sequences (Unicode, table 3-7): the length at s[i], 0 when ill-formed.
size_t WellFormedLength(std::string_view s, size_t i) {
    struct Row {
        unsigned char first, last;
        size_t length;
        unsigned char secondLow, secondHigh;
    };
    static const Row rows[] = {
        {0x00, 0x7F, 1, 0, 0},       {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF},
        {0xE1, 0xEC, 3, 0x80, 0xBF}, {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF},
        {0xF0, 0xF0, 4, 0x90, 0xBF}, {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
    };
    const unsigned char c = s[i];
    for (const Row& row : rows) {
        if (c < row.first || c > row.last) continue;
        if (row.length == 1) return 1;
        if (i + row.length > s.size()) return 0;
        const unsigned char second = s[i + 1];
        if (second < row.secondLow || second > row.secondHigh) return 0;
        for (size_t k = 2; k < row.length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
        return row.length;
    }
    return 0;
}

size_t CountCodePoints(std::string_view utf8) {
    size_t count = 0;
    for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
    return count;
}

void CheckUtf8Decoding(std::string_view text) {
    bool valid = true;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = 0xDEADBEEF;
        const size_t length = DecodeUtf8(text, i, cp);
        FUZZ_CHECK(length == WellFormedLength(text, i));
        if (length == 0) continue;
        // The code point writes back as the same bytes.
        FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(text.substr(i, length))) == text.substr(i, length));
        FUZZ_CHECK(cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF));
    }
    for (size_t i = 0; i < text.size();) {
        const size_t length = WellFormedLength(text, i);
        if (length == 0) {
            valid = false;
            break;
        }
        i += length;
    }
    FUZZ_CHECK(IsValidUtf8(text) == valid);

    size_t bom = 99;
    const std::string detected = DetectEncoding(text, &bom);
    if (text.starts_with("\xEF\xBB\xBF")) {
        FUZZ_CHECK(detected == "UTF-8" && bom == 3);
    } else if (text.starts_with("\xFF\xFE")) {
        FUZZ_CHECK(detected == "UTF-16LE" && bom == 2);
    } else if (text.starts_with("\xFE\xFF")) {
        FUZZ_CHECK(detected == "UTF-16BE" && bom == 2);
    } else {
        FUZZ_CHECK(detected == (valid ? "UTF-8" : "GBK") && bom == 0);
    }
    FUZZ_CHECK(ConvertStringEncoding(text, "", "UTF-8") == ConvertStringEncoding(text.substr(bom), detected, "UTF-8"));

    const std::string cleaned = ConvertStringEncoding(text, "UTF-8", "UTF-8");
    FUZZ_CHECK(IsValidUtf8(cleaned));
    if (valid) {
        FUZZ_CHECK(cleaned == text);
        FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(text)) == text);
        FUZZ_CHECK(ConvertStringEncoding(ConvertStringEncoding(text, "UTF-8", "UTF-16BE"), "UTF-16BE", "UTF-8") ==
                   text);
        FUZZ_CHECK(ConvertStringEncoding(ConvertStringEncoding(text, "UTF-8", "UTF-16"), "UTF-16LE", "UTF-8") == text);
    }
    int64_t expectedGbkLength = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = WellFormedLength(text, i);
        expectedGbkLength += length == 1 ? 1 : 2;
        i += length == 0 ? 1 : length;
    }
    FUZZ_CHECK(GbkByteLength(text) == expectedGbkLength);
}

// The characters of a UTF-16 text as the converters see them: a surrogate pair is one, a lone
// surrogate one (it becomes U+FFFD), a dangling odd byte one.
size_t CountUtf16Characters(std::string_view bytes) {
    const std::u16string units = [&] {
        std::u16string u;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            u += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1])
                                                                                  << 8);
        return u;
    }();
    size_t count = bytes.size() % 2;
    for (size_t i = 0; i < units.size(); ++i, ++count)
        if (units[i] >= 0xD800 && units[i] <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF)
            ++i;
    return count;
}

// Every character of text comes back from GBK as itself or as "?".
void CheckThroughGbk(const std::string& text, const std::string& back) {
    const std::u16string a = Utf8ToUtf16(text), b = Utf8ToUtf16(back);
    FUZZ_CHECK(IsValidUtf8(back));
    FUZZ_CHECK(CountCodePoints(back) == CountCodePoints(text));
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const size_t unitsA = (a[i] >= 0xD800 && a[i] <= 0xDBFF) ? 2 : 1;
        if (b[j] == u'?') {
            i += unitsA;
            ++j;
            continue;
        }
        FUZZ_CHECK(a.compare(i, unitsA, b, j, unitsA) == 0);
        i += unitsA;
        j += unitsA;
    }
    FUZZ_CHECK(i == a.size() && j == b.size());
}

void CheckGbk(std::string_view bytes) {
    // Any bytes read as GBK give valid UTF-8, which is stable through GBK apart from "?".
    const std::string text = ConvertStringEncoding(bytes, "GBK", "UTF-8");
    FUZZ_CHECK(IsValidUtf8(text));
    const std::string gbk = ConvertStringEncoding(text, "UTF-8", "GBK");
    CheckThroughGbk(text, ConvertStringEncoding(gbk, "GBK", "UTF-8"));
    FUZZ_CHECK(ConvertStringEncoding(bytes, "GBK", "GBK") == bytes);

    // UTF-16 into GBK: one character out for each character in.
    const std::string fromUtf16 =
        ConvertStringEncoding(ConvertStringEncoding(bytes, "UTF-16LE", "GBK"), "GBK", "UTF-8");
    FUZZ_CHECK(CountCodePoints(fromUtf16) == CountUtf16Characters(bytes));
    CheckThroughGbk(ConvertStringEncoding(bytes, "UTF-16LE", "UTF-8"), fromUtf16);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckUtf8Decoding(bytes);
    CheckGbk(bytes);
    FUZZ_CHECK(ConvertStringEncoding(bytes, "no-such-encoding", "UTF-8").empty());
    return 0;
}
