// Shortening long value texts for tree labels, measured as GBK would measure them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vivu {

// The longest value shown whole, in GBK bytes: an ASCII character counts 1, any other character 2.
inline constexpr size_t kMaxValueLength = 120;
inline constexpr std::string_view kTruncationMark = "...";

// The number of UTF-8 bytes of text to keep before kTruncationMark: whole characters
// whose GBK length reaches kMaxValueLength (one more when a double-byte character
// straddles it). std::string_view::npos when the text is short enough to show whole.
size_t TruncationPoint(std::string_view text);

// Cuts text at its TruncationPoint and appends kTruncationMark; false when it is left whole.
bool TruncateValue(std::string& text);

} // namespace vivu
