// Find in the editor's text: ASCII letters in any case, every other byte exactly.
#pragma once

#include "view/FindNode.h"

#include <cstddef>
#include <string_view>

namespace vivu {

inline constexpr std::string_view kFindInEditorPrompt = "查找编辑器中的文本（不区分大小写）：";

// Where query occurs next in text: forward the first occurrence that starts at from or later,
// backward the last one that starts before from; when there is none on that side, the first
// (backward: the last) in the whole text. npos when query is empty or nowhere. Skips ahead
// as Horspool's search does, so long queries cost less than a byte-by-byte scan.
size_t FindInText(std::string_view text, std::string_view query, size_t from,
                  FindDirection direction = FindDirection::kForward);

} // namespace vivu
