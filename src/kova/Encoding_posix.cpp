// GBK conversion through iconv.
#include "kova/GbkCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace kova {

namespace {

// Runs iconv over the whole input; an unconvertible input unit is replaced and skipped.
std::string Run(const char* to, const char* from, std::string_view in, size_t unit, std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
    std::string out;
    out.reserve(in.size() * 2 + 16);
    char buffer[4096];
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            out.append(replacement);
            size_t skip = std::min(unit, inLeft);
            // A character outside GBK written as a surrogate pair is one character; a lone
            // high surrogate is one unit, and the character after it is kept.
            if (unit == 2 && inLeft >= 4 && (static_cast<unsigned char>(inPtr[1]) & 0xFC) == 0xD8 &&
                (static_cast<unsigned char>(inPtr[3]) & 0xFC) == 0xDC)
                skip = 4;
            inPtr += skip;
            inLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
    std::string bytes = Run("UTF-16LE", "CP936", gbk, 1, std::string_view("\xFD\xFF", 2));
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return out;
}

std::string Utf16ToGbk(std::u16string_view utf16) {
    std::string bytes(utf16.size() * 2, '\0');
    for (size_t i = 0; i < utf16.size(); ++i) {
        bytes[2 * i] = static_cast<char>(utf16[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(utf16[i] >> 8);
    }
    return Run("CP936", "UTF-16LE", bytes, 2, "?");
}

} // namespace kova
