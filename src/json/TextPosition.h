// Where a byte offset lies in a text, as a person counts it: line and column from 1.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vivu {

struct TextPosition {
    size_t line = 1;
    size_t column = 1; // in characters: a UTF-8 sequence counts once
};

// CR LF, a lone CR and a lone LF each end a line. An offset past the end counts as the end.
TextPosition PositionOfOffset(std::string_view text, size_t offset);

// The second line of a parse failure: "位置：第 {line} 行，第 {column} 列".
std::string PositionLine(const TextPosition& position);

} // namespace vivu
