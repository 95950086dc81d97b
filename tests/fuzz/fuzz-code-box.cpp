// The code box tokenizer: formats stay inside the text, cover every character but the
// separator after a directive word, and the number test agrees with the C library's
// atof/"%.13g" and atoi reading.
#include "editor/CodeBoxPositions.h"
#include "editor/CodeBoxStyle.h"
#include "editor/CodeBoxTokenizer.h"
#include "fuzz/FuzzCheck.h"
#include "kova/Encoding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace vivu;

namespace {

// The rule as the host language's editor states it, through the C library.
bool ReferenceNumber(std::string_view token) {
    const std::string s(token);
    if (s.find('\0') != std::string::npos) return false;
    char written[64];
    const double v = std::atof(s.c_str());
    std::snprintf(written, sizeof written, "%.13g", v);
    if (std::isfinite(v) && s == written) return true;
    const int i = static_cast<int>(std::strtol(s.c_str(), nullptr, 10)); // atoi, without its overflow
    std::snprintf(written, sizeof written, "%d", i);
    return s == written;
}

size_t CountCrLf(std::string_view text) {
    size_t count = 0;
    for (size_t i = text.find("\r\n"); i != std::string_view::npos; i = text.find("\r\n", i + 2)) ++count;
    return count;
}

void CheckPositions(std::string_view text, const CodeBoxPositions& positions) {
    // UTF-16 units, with each CR LF as one and each invalid byte as one U+FFFD.
    FUZZ_CHECK(positions.Total() == kova::Utf8ToUtf16(text).size() - CountCrLf(text));
    FUZZ_CHECK(positions.At(0) == 0);
    for (size_t i = 1; i <= text.size(); ++i) FUZZ_CHECK(positions.At(i) >= positions.At(i - 1));
    FUZZ_CHECK(positions.At(text.size()) == positions.Total());
    FUZZ_CHECK(positions.At(text.size() + 100) == positions.Total());
}

void CheckFindNextSeparator(std::string_view text, size_t from) {
    const auto list = CodeBoxSeparators();
    const SeparatorMatch match = FindNextSeparator(text, list, from);
    size_t first = std::string_view::npos;
    for (std::string_view entry : list) first = std::min(first, text.find(entry, from));
    FUZZ_CHECK(match.position == first);
    if (!match.Found()) return;
    FUZZ_CHECK(text.substr(match.position).starts_with(match.separator));
    // Of the entries at that place, the one earliest in the list.
    for (std::string_view entry : list) {
        if (entry == match.separator) break;
        FUZZ_CHECK(!text.substr(match.position).starts_with(entry));
    }
}

bool KnownColour(uint32_t colour) {
    return colour == kCodeBoxSeparatorColour || colour == kCodeBoxNumberColour || colour == kCodeBoxBooleanColour ||
           colour == kCodeBoxWordColour || colour == kCodeBoxQuotedColour;
}

// The byte where the character at position starts. Bytes inside a character map to the position
// after it, so that is the last byte still at position.
size_t ByteAt(std::string_view text, const CodeBoxPositions& positions, size_t position) {
    size_t byte = 0;
    while (byte < text.size() && positions.At(byte) <= position) ++byte;
    FUZZ_CHECK(byte > 0 && positions.At(byte - 1) == position);
    return byte - 1;
}

// Positions [begin, end) of the separator that follows the directive word ending at position
// wordEnd: those keep the default format.
std::pair<size_t, size_t> SeparatorAfter(std::string_view text, const CodeBoxPositions& positions, size_t wordEnd) {
    const size_t byte = ByteAt(text, positions, wordEnd);
    const SeparatorMatch match = FindNextSeparator(text, CodeBoxSeparators(), byte);
    FUZZ_CHECK(match.position == byte);
    return {positions.At(byte), positions.At(byte + match.separator.size())};
}

void CheckFormats(std::string_view text, const std::vector<CodeBoxFormat>& formats, const CodeBoxPositions& positions) {
    const size_t total = positions.Total();
    std::vector<bool> covered(total, false);
    bool boldAllowed = true; // directive words come first
    size_t lastStart = 0;
    for (const CodeBoxFormat& f : formats) {
        FUZZ_CHECK(f.length > 0);
        FUZZ_CHECK(f.start + f.length <= total);
        FUZZ_CHECK(f.start >= lastStart);
        FUZZ_CHECK(KnownColour(f.colour));
        lastStart = f.start;
        if (f.bold) {
            FUZZ_CHECK(boldAllowed && f.colour == kCodeBoxSeparatorColour);
            FUZZ_CHECK(text[ByteAt(text, positions, f.start)] == '.');
            const auto [begin, end] = SeparatorAfter(text, positions, f.start + f.length);
            for (size_t p = begin; p < end; ++p) covered[p] = true;
        } else {
            boldAllowed = false;
        }
        for (size_t p = f.start; p < f.start + f.length; ++p) covered[p] = true;
    }
    // Every character has a format of its own, or is the separator after a directive word.
    for (size_t p = 0; p < total; ++p) FUZZ_CHECK(covered[p]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CodeBoxPositions positions(text);
    CheckPositions(text, positions);
    CheckFindNextSeparator(text, 0);
    CheckFindNextSeparator(text, size / 2);
    CheckFindNextSeparator(text, size + 1);
    CheckFormats(text, TokenizeCodeBox(text), positions);
    if (size <= 40) FUZZ_CHECK(IsNumberToken(text) == ReferenceNumber(text));
    return 0;
}
