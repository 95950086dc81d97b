// The code box tokenizer: separators, the number test and the colour of each range.
#include "editor/CodeBoxTokenizer.h"

#include "editor/CodeBoxPositions.h"
#include "editor/CodeBoxStyle.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace vivu {

namespace {

constexpr std::array<std::string_view, 39> kSeparators = {
    ",", "\r\n", " ", ".", "\t", "(",  ")",  "（", "）", "[",  "]", "［", "］", "\"", "“",  "”", "+",  "＋", "-", "－",
    "*", "×",    "/", "÷", "%",  "％", ">=", "≥",  ">",  "＞", "=", "＝", "<",  "＜", "<=", "≤", "!=", "≠",  "≈",
};

constexpr std::array<std::string_view, 3> kQuotes = {"\"", "“", "”"};

// Where the search reads no separator, the token runs to the end as if a line ended there.
constexpr std::string_view kEndOfText = "\r\n";

bool IsOpeningQuote(std::string_view separator) {
    return separator == "\"" || separator == "“";
}

bool WritesBackAsDouble(std::string_view token) {
    // from_chars reads what atof reads except leading white space, "+" and hexadecimal, none
    // of which the written form has, so the comparison comes out the same.
    double value = 0;
    const auto read = std::from_chars(token.data(), token.data() + token.size(), value);
    if (read.ec != std::errc() || !std::isfinite(value)) return false;
    char written[32];
    const auto end = std::to_chars(written, written + sizeof written, value, std::chars_format::general, 13);
    return end.ec == std::errc() && std::string_view(written, end.ptr - written) == token;
}

uint32_t TokenColour(std::string_view token) {
    if (IsNumberToken(token)) return kCodeBoxNumberColour;
    if (token == "真" || token == "假") return kCodeBoxBooleanColour;
    return kCodeBoxWordColour;
}

// Collects formats given in byte offsets as rich edit positions.
class FormatList {
public:
    explicit FormatList(std::string_view text) : size_(text.size()), positions_(text) {}

    void Add(size_t from, size_t to, uint32_t colour, bool bold) {
        to = std::min(to, size_);
        if (from >= to) return;
        const size_t start = positions_.At(from);
        const size_t end = positions_.At(to);
        if (end > start) formats_.push_back({start, end - start, colour, bold});
    }

    std::vector<CodeBoxFormat> Take() { return std::move(formats_); }

private:
    size_t size_;
    CodeBoxPositions positions_;
    std::vector<CodeBoxFormat> formats_;
};

} // namespace

std::span<const std::string_view> CodeBoxSeparators() {
    return kSeparators;
}

std::span<const std::string_view> CodeBoxQuotes() {
    return kQuotes;
}

SeparatorMatch FindNextSeparator(std::string_view text, std::span<const std::string_view> list, size_t from) {
    // UTF-8 synchronises itself: no entry starts with a continuation byte, so every match
    // begins at a character start and none splits a character.
    for (size_t i = from; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i);
        for (std::string_view entry : list)
            if (!entry.empty() && rest.starts_with(entry)) return {i, entry};
    }
    return {};
}

bool IsNumberToken(std::string_view token) {
    return WritesBackAsDouble(token);
}

std::vector<CodeBoxFormat> TokenizeCodeBox(std::string_view text) {
    const std::span<const std::string_view> separators = CodeBoxSeparators();
    FormatList formats(text);
    const size_t n = text.size();
    size_t pos = 0;
    bool directive = true;
    while (pos < n) {
        if (directive) {
            const SeparatorMatch end =
                text[pos] == '.' ? FindNextSeparator(text, separators, pos + 1) : SeparatorMatch{};
            if (!end.Found()) {
                directive = false;
                continue;
            }
            // The separator after the word keeps the default format.
            formats.Add(pos, end.position, kCodeBoxSeparatorColour, true);
            pos = end.position + end.separator.size();
            directive = end.separator == "\r\n";
            continue;
        }
        // Searching from the next character keeps a token from being empty: a separator at pos
        // becomes the first character of the token.
        const SeparatorMatch match = FindNextSeparator(text, separators, pos + 1);
        const size_t end = match.Found() ? match.position : n;
        const std::string_view separator = match.Found() ? match.separator : kEndOfText;
        formats.Add(pos, end, TokenColour(text.substr(pos, end - pos)), false);
        formats.Add(end, end + separator.size(), kCodeBoxSeparatorColour, false);
        pos = end + separator.size();
        if (IsOpeningQuote(separator)) {
            const SeparatorMatch close = FindNextSeparator(text, CodeBoxQuotes(), pos);
            if (close.Found()) {
                const size_t after = close.position + close.separator.size();
                formats.Add(end, after, kCodeBoxQuotedColour, false);
                pos = after;
            }
        }
    }
    return formats.Take();
}

} // namespace vivu
