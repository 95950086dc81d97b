// GBK conversion through the Win32 code page functions.
#include "kova/GbkCodec.h"

#include <windows.h>

namespace kova {

namespace {
constexpr UINT kGbk = 936;
}

std::u16string GbkToUtf16(std::string_view gbk) {
    if (gbk.empty()) return std::u16string();
    int length = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::u16string out(length, u'\0');
    MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), reinterpret_cast<wchar_t*>(out.data()),
                        length);
    return out;
}

std::string Utf16ToGbk(std::u16string_view utf16) {
    if (utf16.empty()) return std::string();
    // GBK has no character outside the BMP: a surrogate pair becomes one "?", as with iconv.
    std::u16string text;
    text.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        const bool pair = utf16[i] >= 0xD800 && utf16[i] <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
                          utf16[i + 1] <= 0xDFFF;
        text += pair ? u'?' : utf16[i];
        if (pair) ++i;
    }
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    int length = WideCharToMultiByte(kGbk, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(length, '\0');
    WideCharToMultiByte(kGbk, 0, wide, static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

} // namespace kova
