// GBK (code page 936) conversion, done by the platform: iconv or Win32.
#pragma once

#include <string>
#include <string_view>

namespace kova {

// Invalid GBK bytes become U+FFFD; characters GBK lacks become "?".
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);

} // namespace kova
