// Splitting the code box text into tokens, separators and quoted texts, each with its colour.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vivu {

// The separators, in the order that settles two entries found at the same position: ">="
// wins over ">", and "<" over "<=", so "<=" is never found.
std::span<const std::string_view> CodeBoxSeparators();

// The quotation marks; any of them closes a quoted text, whichever opened it.
std::span<const std::string_view> CodeBoxQuotes();

struct SeparatorMatch {
    size_t position = std::string_view::npos; // byte offset; npos when nothing was found
    std::string_view separator;               // the entry of the list that was found

    bool Found() const { return position != std::string_view::npos; }
};

// The smallest byte offset >= from at which an entry of list occurs. Only character starts
// are tried, so a UTF-8 sequence is never split (an offset inside a character moves on to
// the next one); at one offset the entry earlier in list wins. Byte-exact comparison.
SeparatorMatch FindNextSeparator(std::string_view text, std::span<const std::string_view> list, size_t from);

// A token is a number when reading it as a double (atof) and writing that with "%.13g" gives
// the token back: up to 13 digits with an optional "-", no leading zeros, no "+". Values that
// are not finite never count, so "inf" and "nan" are words. The second rule of the host
// language's editor, reading a 32-bit integer (atoi) and writing it in decimal, adds nothing:
// such a text has at most 10 digits, which "%.13g" writes back unchanged.
bool IsNumberToken(std::string_view token);

// One format for the box: characters [start, start + length) in rich edit positions (see
// CodeBoxPositions), the colour (COLORREF) and whether it is bold.
struct CodeBoxFormat {
    size_t start = 0;
    size_t length = 0;
    uint32_t colour = 0;
    bool bold = false;

    bool operator==(const CodeBoxFormat&) const = default;
};

// The formats that colour the code box text (UTF-8, lines ending in CR LF, as the box reads
// back), to be applied in order over the default format: where they overlap the later one
// wins (a quoted text recolours its opening quote). Characters no format covers keep the
// default: the separator after each leading directive word. Ranges that would cover no
// character are left out, so an empty text gives none.
//
// While the text starts with "."-words each followed by CR LF, every such word is a bold
// directive; the first "."-word followed by anything else is the last. After that the text is
// split at the next separator found one character after the token's start, so a token is never
// empty and a separator that follows another separator starts the next token. A separator that
// is an opening quote (the double quote or "“") followed later by any quotation mark makes
// the whole quoted text, both marks included, one green range.
std::vector<CodeBoxFormat> TokenizeCodeBox(std::string_view text);

} // namespace vivu
