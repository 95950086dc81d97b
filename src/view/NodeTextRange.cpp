// A node's text found from its offset: scalars by their own syntax, containers through their last descendants.
#include "view/NodeTextRange.h"

#include "view/BuildNodePath.h"
#include "json/TextPosition.h"

namespace vivu {

namespace {

constexpr size_t kNone = std::string_view::npos;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The character a value of this type begins with in JSON (a number: its first one).
bool BeginsAsItsType(int32_t type, char c) {
    switch (type) {
    case kova::kTypeMap:
        return c == '{';
    case kova::kTypeList:
        return c == '[';
    case kova::kTypeText:
    case kova::kTypeWideText:
        return c == '"';
    case kova::kTypeNull:
        return c == 'n';
    case kova::kTypeBool:
        return c == 't' || c == 'f';
    case kova::kTypeInt:
    case kova::kTypeLong:
    case kova::kTypeDouble:
    case kova::kTypeFloat:
        return c == '-' || IsDigit(c);
    default:
        return false;
    }
}

// Past the scalar that begins at `at`; kNone when none does.
size_t ScalarEnd(std::string_view text, size_t at) {
    const char c = text[at];
    if (c == '"') {
        for (size_t i = text.find_first_of("\"\\", at + 1); i != kNone; i = text.find_first_of("\"\\", i + 2)) {
            if (text[i] == '"') return i + 1;
        }
        return kNone;
    }
    for (std::string_view word : {"true", "false", "null"}) {
        if (text.substr(at, word.size()) == word) return at + word.size();
    }
    if (c != '-' && !IsDigit(c)) return kNone;
    size_t i = at + 1;
    while (i < text.size() &&
           (IsDigit(text[i]) || text[i] == '.' || text[i] == 'e' || text[i] == 'E' || text[i] == '+' || text[i] == '-'))
        ++i;
    return i;
}

// Past the bracket that closes the container `at` lies directly in. Normally only white space
// comes before it; of duplicate keys the later value may follow the last member kept.
size_t CloseAfter(std::string_view text, size_t at) {
    size_t depth = 0;
    for (size_t i = at; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            i = ScalarEnd(text, i);
            if (i == kNone) return kNone;
            --i;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            if (depth == 0) return i + 1;
            --depth;
        }
    }
    return kNone;
}

bool StartsAt(const kova::ValueRef& value, std::string_view text) {
    const uint32_t offset = value.Offset();
    return offset != kova::Node::kNoOffset && offset < text.size() && BeginsAsItsType(value.Type(), text[offset]);
}

} // namespace

std::optional<TextRange> NodeTextRange(const kova::ValueRef& value, std::string_view text) {
    if (!value || !StartsAt(value, text)) return std::nullopt;
    // Down the last children to a scalar or an empty container, then up through the closing
    // brackets: the cost follows the depth, not the size.
    kova::ValueRef last = value;
    size_t levels = 0;
    while (kova::IsContainerType(last.Type()) && last.Count() > 0) {
        last = last.At(last.Count() - 1);
        if (!StartsAt(last, text) || last.Offset() <= value.Offset()) return std::nullopt;
        ++levels;
    }
    size_t end =
        kova::IsContainerType(last.Type()) ? CloseAfter(text, last.Offset() + 1) : ScalarEnd(text, last.Offset());
    for (; levels > 0 && end != kNone; --levels) end = CloseAfter(text, end);
    if (end == kNone) return std::nullopt;
    const int32_t type = value.Type();
    if ((type == kova::kTypeMap && text[end - 1] != '}') || (type == kova::kTypeList && text[end - 1] != ']'))
        return std::nullopt;
    return TextRange{value.Offset(), end};
}

std::optional<TextRange> ItemTextRange(const ResultTreeModel& tree, int32_t item, const JsonModel& document,
                                       std::string_view text) {
    if (!tree.IsItem(item)) return std::nullopt;
    const kova::Collection* root = nullptr;
    if (document.kind == kRootObject) root = &document.object;
    if (document.kind == kRootArray) root = &document.array;
    if (!root) return std::nullopt;
    const std::string path = BuildNodePath(tree, item);
    return NodeTextRange(path.empty() ? root->Root() : root->Find(path), text);
}

std::string LineColumnText(std::string_view text, const TextRange& range) {
    const TextPosition first = PositionOfOffset(text, range.start);
    const TextPosition last = PositionOfOffset(text, range.end - 1); // a bracket, quote, digit or letter
    return std::to_string(first.line) + ":" + std::to_string(first.column) + "-" + std::to_string(last.line) + ":" +
           std::to_string(last.column);
}

} // namespace vivu
