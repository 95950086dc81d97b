// Where a node of the parsed document stands in the editor's text, for showing it there.
#pragma once

#include "kova/Value.h"
#include "view/ResultTreeModel.h"
#include "json/JsonModel.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vivu {

inline constexpr std::string_view kLocateFailedTitle = "无法定位";
inline constexpr std::string_view kTextChangedMessage = "编辑器中的文本在解析后已被修改，请重新解析。";

// Byte offsets into a UTF-8 text: start at the node's first character, end past its last.
struct TextRange {
    size_t start = 0;
    size_t end = 0;
};

// The text of value, from its first character to its last: a container from its bracket to
// the one that closes it, a text with its quotes. text is what the value was read from or
// last written to. Reads from the value's offset on, its last descendants and what lies
// between them and the closing brackets, never the whole text; nothing when the text there
// does not hold such a value (it was changed since).
std::optional<TextRange> NodeTextRange(const kova::ValueRef& value, std::string_view text);

// The text range of a tree item's node in document, the document the tree was made from or
// that document rewritten (the offsets follow a rewrite); the item reaches its node through
// its path, as the node panel reads it.
std::optional<TextRange> ItemTextRange(const ResultTreeModel& tree, int32_t item, const JsonModel& document,
                                       std::string_view text);

// "L1:C1-L2:C2": the lines and columns of the range's first and last characters, counted as
// a parse failure's place is.
std::string LineColumnText(std::string_view text, const TextRange& range);

} // namespace vivu
