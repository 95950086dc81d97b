// Find in the editor's text: Horspool's search over ASCII-folded bytes, both ways.
#include "view/FindInText.h"

#include <algorithm>
#include <array>
#include <string>

namespace vivu {

namespace {

using FoldTable = std::array<unsigned char, 256>;

constexpr FoldTable MakeFoldTable() {
    FoldTable table{};
    for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return table;
}
constexpr FoldTable kFold = MakeFoldTable();

unsigned char Fold(char c) {
    return kFold[static_cast<unsigned char>(c)];
}

bool MatchesAt(std::string_view text, const std::string& folded, size_t at) {
    for (size_t j = folded.size(); j-- > 0;)
        if (Fold(text[at + j]) != static_cast<unsigned char>(folded[j])) return false;
    return true;
}

// The first occurrence starting in [from, last]; npos when none.
size_t Forward(std::string_view text, const std::string& q, size_t from, size_t last) {
    const size_t m = q.size();
    std::array<size_t, 256> skip;
    skip.fill(m);
    for (size_t i = 0; i + 1 < m; ++i) skip[static_cast<unsigned char>(q[i])] = m - 1 - i;
    for (size_t at = from; at <= last; at += skip[Fold(text[at + m - 1])])
        if (MatchesAt(text, q, at)) return at;
    return std::string_view::npos;
}

// The last occurrence starting in [0, first]; npos when none.
size_t Backward(std::string_view text, const std::string& q, size_t first) {
    const size_t m = q.size();
    std::array<size_t, 256> skip;
    skip.fill(m);
    for (size_t i = m - 1; i >= 1; --i) skip[static_cast<unsigned char>(q[i])] = i;
    for (size_t at = first;;) {
        if (MatchesAt(text, q, at)) return at;
        const size_t step = skip[Fold(text[at])];
        if (step > at) return std::string_view::npos;
        at -= step;
    }
}

} // namespace

size_t FindInText(std::string_view text, std::string_view query, size_t from, FindDirection direction) {
    constexpr size_t kNone = std::string_view::npos;
    if (query.empty() || query.size() > text.size()) return kNone;
    std::string folded(query);
    for (char& c : folded) c = static_cast<char>(Fold(c));
    const size_t last = text.size() - query.size(); // the last place an occurrence can start
    if (direction == FindDirection::kForward) {
        const size_t found = from <= last ? Forward(text, folded, from, last) : kNone;
        return found != kNone || from == 0 ? found : Forward(text, folded, 0, std::min(from - 1, last));
    }
    const size_t found = from > 0 ? Backward(text, folded, std::min(from - 1, last)) : kNone;
    return found != kNone ? found : Backward(text, folded, last);
}

} // namespace vivu
