// Addressing paths: "//" followed by key and "[n]" segments, "\" escaping.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

struct PathSegment {
    enum Kind { Key, Index };
    Kind kind;
    std::string text; // escapes removed
};

inline bool IsPathText(std::string_view text) {
    return text.size() >= 2 && text[0] == '/' && text[1] == '/';
}

// Splits a path into segments. A text that does not begin with "//" is one
// literal key. Between segments "." is skipped and "[" opens an index; inside a
// segment "]" or "." ends it, "[" ends it and opens an index, "\" takes the
// next byte literally. A lone "\" at the very end ends the path. An index
// opened by "[" that got no character before the end is dropped. False when no
// segment results ("//" alone).
bool ParseNodePath(std::string_view text, std::vector<PathSegment>& segments);

// The position an index segment names: its leading decimal digits ("01" and
// "1.9" are 1); 0 when it does not start with a digit. Saturates at INT64_MAX.
int64_t SegmentPosition(std::string_view text);

// Escapes one key for use in a path, so that ParseNodePath reads it back as that key:
// "\", ".", "[" and "]" get a "\" before them, and the empty key is written "]".
std::string EscapeKeyName(std::string_view key);

} // namespace kova
