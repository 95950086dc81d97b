// Rich edit character positions of UTF-8 text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vivu {

// Maps byte offsets of UTF-8 text to the character positions a rich edit box uses for the
// same text: UTF-16 code units, so a character outside the Basic Multilingual Plane takes
// two, and a paragraph end that reads back as CR LF takes one (the box keeps a single CR).
// A lone CR or LF takes one; an invalid byte takes one, as the U+FFFD it converts to would.
class CodeBoxPositions {
public:
    explicit CodeBoxPositions(std::string_view utf8);

    // The position of the character that starts at byteOffset (the total at the end of the
    // text); an offset inside a character gives the position after it.
    size_t At(size_t byteOffset) const { return positions_[byteOffset < positions_.size() ? byteOffset : Last()]; }
    size_t Total() const { return positions_[Last()]; }

private:
    size_t Last() const { return positions_.size() - 1; }

    // One entry per byte and one for the end; 32 bits are plenty for a rich edit box.
    std::vector<uint32_t> positions_;
};

} // namespace vivu
