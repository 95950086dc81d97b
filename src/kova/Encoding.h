// Text encodings at the program's edges: UTF-8 inside, GBK and UTF-16 outside.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kova {

// Converts bytes between "UTF-8", "GBK" (code page 936) and "UTF-16LE"/"UTF-16BE"
// ("UTF-16" means little-endian, as on Windows). Names are case-insensitive.
// An empty source is detected (see DetectEncoding) and its byte-order mark dropped;
// an empty target means GBK. Bytes that are invalid in the source become U+FFFD
// (or "?" in GBK). Unknown encoding names give an empty result.
std::string ConvertStringEncoding(std::string_view bytes, std::string_view source, std::string_view target = "");

// The encoding of a file or response body: a byte-order mark decides first
// (UTF-8, UTF-16LE, UTF-16BE), then valid UTF-8 is UTF-8, anything else GBK.
// bomLength receives the length of the byte-order mark found (0 when none).
std::string DetectEncoding(std::string_view bytes, size_t* bomLength = nullptr);

bool IsValidUtf8(std::string_view bytes);
// The largest position at or before at that does not split a UTF-8 character.
size_t Utf8Boundary(std::string_view text, size_t at);

// Length of the UTF-8 sequence that starts at bytes[i] (1 for ASCII) with its
// code point in cp; 0 when the bytes there are not valid UTF-8.
size_t DecodeUtf8(std::string_view bytes, size_t i, uint32_t& cp);

// The length in bytes the text would have in GBK, counting an ASCII character as
// 1 and any other as 2 (what a GBK program measured, without converting).
int64_t GbkByteLength(std::string_view utf8);

// "UTF-8", "GBK", "UTF-16LE" or "UTF-16BE" for the names and aliases we accept; empty otherwise.
std::string CanonicalEncodingName(std::string_view name);

// Whole-text conversion for Win32 wide APIs and Windows-style files.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

#ifdef _WIN32
// Win32 wide text (UTF-16 in wchar_t).
inline std::wstring Utf8ToWide(std::string_view utf8) {
    std::u16string u = Utf8ToUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}
inline std::string WideToUtf8(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}
#endif

} // namespace kova
