// Find in the tree: one pre-order walk of the document, item index by item index.
#include "view/FindNode.h"

#include "kova/JsonText.h"

#include <algorithm>

namespace vivu {

namespace {

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Calls visit(item) for each matching item in ascending order until it returns false.
// The walk pairs document nodes with item indexes the way the tree model made them:
// a node, then everything below it, then its next sibling.
template <typename Visit> void ForEachMatch(const ResultTreeModel& tree, std::string_view query, Visit visit) {
    const kova::ValueRef root = tree.Document();
    if (!root || query.empty()) return;
    std::string folded(query);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldAscii);
    struct Frame {
        kova::ValueRef container;
        bool isMap;
        size_t next;
    };
    std::vector<Frame> stack{{root, root.Type() == kova::kTypeMap, 0}};
    std::string shown;
    int32_t item = 0; // the root item has neither key nor scalar value
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.container.Count()) {
            stack.pop_back();
            continue;
        }
        const size_t at = top.next++;
        ++item;
        const kova::ValueRef value = top.container.At(at);
        const int32_t type = value.Type();
        bool match = top.isMap && ContainsIgnoringAsciiCase(top.container.KeyAt(at), folded);
        if (!match && !kova::IsContainerType(type)) {
            if (kova::IsTextType(type)) {
                match = ContainsIgnoringAsciiCase(value.Str(), folded); // no copy of long texts
            } else {
                shown = kova::DisplayText(value);
                match = ContainsIgnoringAsciiCase(shown, folded);
            }
        }
        if (match && !visit(item)) return;
        if (kova::IsContainerType(type)) stack.push_back({value, type == kova::kTypeMap, 0}); // top invalid now
    }
}

} // namespace

bool ContainsIgnoringAsciiCase(std::string_view text, std::string_view query) {
    if (query.empty()) return true;
    if (query.size() > text.size()) return false;
    const char first = FoldAscii(query[0]);
    for (size_t i = 0; i + query.size() <= text.size(); ++i) {
        if (FoldAscii(text[i]) != first) continue;
        size_t k = 1;
        while (k < query.size() && FoldAscii(text[i + k]) == FoldAscii(query[k])) ++k;
        if (k == query.size()) return true;
    }
    return false;
}

int32_t FindNode(const ResultTreeModel& tree, std::string_view query, int32_t after, FindDirection direction) {
    int32_t first = -1, last = -1, found = -1;
    if (direction == FindDirection::kForward) {
        ForEachMatch(tree, query, [&](int32_t item) {
            if (first < 0) first = item;
            if (item > after) found = item;
            return found < 0; // nothing after the last match is read
        });
        return found >= 0 ? found : first;
    }
    if (after < 0) after = tree.ItemCount();
    ForEachMatch(tree, query, [&](int32_t item) {
        if (item < after) found = item;
        last = item;
        return true;
    });
    return found >= 0 ? found : last;
}

std::vector<int32_t> FindAllNodes(const ResultTreeModel& tree, std::string_view query) {
    std::vector<int32_t> items;
    ForEachMatch(tree, query, [&](int32_t item) {
        items.push_back(item);
        return true;
    });
    return items;
}

} // namespace vivu
