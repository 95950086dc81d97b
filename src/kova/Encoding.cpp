// Encoding names, detection and the UTF-8/UTF-16 conversions.
#include "kova/Encoding.h"

#include "kova/GbkCodec.h"

#include <algorithm>
#include <cctype>

namespace kova {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    out.erase(std::remove(out.begin(), out.end(), '_'), out.end());
    out.erase(std::remove(out.begin(), out.end(), '-'), out.end());
    return out;
}

std::u16string BytesToUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char a = bytes[2 * i], b = bytes[2 * i + 1];
        out[i] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    if (bytes.size() % 2) out += u'\xFFFD'; // a dangling half unit
    return out;
}

std::string Utf16ToBytes(std::u16string_view text, bool bigEndian) {
    std::string out(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        char hi = static_cast<char>(text[i] >> 8), lo = static_cast<char>(text[i] & 0xFF);
        out[2 * i] = bigEndian ? hi : lo;
        out[2 * i + 1] = bigEndian ? lo : hi;
    }
    return out;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::u16string Decode(std::string_view bytes, const std::string& encoding) {
    if (encoding == "UTF-8") return Utf8ToUtf16(bytes);
    if (encoding == "GBK") return GbkToUtf16(bytes);
    return BytesToUtf16(bytes, encoding == "UTF-16BE");
}

} // namespace

std::string CanonicalEncodingName(std::string_view name) {
    const std::string n = Lower(name);
    if (n == "utf8" || n == "65001") return "UTF-8";
    if (n == "gbk" || n == "gb2312" || n == "cp936" || n == "936" || n == "ansi" || n == "gb18030") return "GBK";
    if (n == "utf16" || n == "utf16le" || n == "unicode" || n == "ucs2" || n == "1200") return "UTF-16LE";
    if (n == "utf16be" || n == "unicodebe" || n == "1201") return "UTF-16BE";
    return std::string();
}

size_t DecodeUtf8(std::string_view s, size_t i, uint32_t& cp) {
    unsigned char c = s[i];
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    size_t length;
    uint32_t min;
    if (c < 0xC2) return 0;
    if (c < 0xE0)
        length = 2, cp = c & 0x1F, min = 0x80;
    else if (c < 0xF0)
        length = 3, cp = c & 0x0F, min = 0x800;
    else if (c < 0xF5)
        length = 4, cp = c & 0x07, min = 0x10000;
    else
        return 0;
    if (i + length > s.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        unsigned char t = s[i + k];
        if ((t & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

bool IsValidUtf8(std::string_view bytes) {
    uint32_t cp;
    for (size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        size_t length = DecodeUtf8(bytes, i, cp);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

int64_t GbkByteLength(std::string_view utf8) {
    int64_t length = 0;
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        size_t step = DecodeUtf8(utf8, i, cp);
        length += step == 1 ? 1 : 2; // an invalid byte counts as one unknown character
        i += step == 0 ? 1 : step;
    }
    return length;
}

std::string DetectEncoding(std::string_view bytes, size_t* bomLength) {
    size_t bom = 0;
    std::string found;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bom = 3;
        found = "UTF-8";
    } else if (bytes.substr(0, 2) == "\xFF\xFE") {
        bom = 2;
        found = "UTF-16LE";
    } else if (bytes.substr(0, 2) == "\xFE\xFF") {
        bom = 2;
        found = "UTF-16BE";
    } else {
        found = IsValidUtf8(bytes) ? "UTF-8" : "GBK";
    }
    if (bomLength) *bomLength = bom;
    return found;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    uint32_t cp = 0;
    for (size_t i = 0; i < utf8.size();) {
        size_t length = DecodeUtf8(utf8, i, cp);
        if (length == 0) {
            cp = 0xFFFD;
            length = 1;
        }
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3 / 2);
    for (size_t i = 0; i < utf16.size(); ++i) {
        uint32_t unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD); // a lone surrogate
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::string ConvertStringEncoding(std::string_view bytes, std::string_view source, std::string_view target) {
    std::string from;
    if (source.empty()) {
        size_t bom = 0;
        from = DetectEncoding(bytes, &bom);
        bytes.remove_prefix(bom);
    } else {
        from = CanonicalEncodingName(source);
    }
    const std::string to = target.empty() ? std::string("GBK") : CanonicalEncodingName(target);
    if (from.empty() || to.empty()) return std::string();
    if (from == to && from != "UTF-8") return std::string(bytes);
    if (from == "UTF-8" && to == "UTF-8") {
        if (IsValidUtf8(bytes)) return std::string(bytes);
        return Utf16ToUtf8(Utf8ToUtf16(bytes)); // invalid bytes become U+FFFD
    }
    const std::u16string wide = Decode(bytes, from);
    if (to == "UTF-8") return Utf16ToUtf8(wide);
    if (to == "GBK") return Utf16ToGbk(wide);
    return Utf16ToBytes(wide, to == "UTF-16BE");
}

size_t Utf8Boundary(std::string_view text, size_t at) {
    if (at >= text.size()) return text.size();
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
    return at;
}

} // namespace kova
