// The NodePath of a tree item, built from the ItemCodes of its ancestors.
#include "view/BuildNodePath.h"

#include "kova/NodePath.h"
#include "view/ItemCode.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vivu {

SegmentKind AppendSegmentText(std::string& path, int32_t code, SegmentKind previous, const KeyRegistry& keys) {
    const DecodedItemCode decoded = DecodeItemCode(code);
    if (decoded.kind == kIndexCodeKind) {
        if (previous == kSegmentIndex) path += '.';
        path += '[';
        path += std::to_string(decoded.value);
        path += ']';
        return kSegmentIndex;
    }
    if (decoded.kind == kKeyCodeKind) {
        if (previous != kSegmentNone) path += '.';
        if (const std::string* key = keys.KeyText(decoded.value)) path += kova::EscapeKeyName(*key);
        return kSegmentKey;
    }
    return kSegmentNone;
}

std::string BuildNodePath(const ResultTreeModel& tree, int32_t item) {
    std::vector<int32_t> codes; // from the item up to the root
    for (ItemRecord record; tree.ReadItemRecord(item, record) && record.itemCode != kRootItemCode;
         item = record.parent) {
        codes.push_back(record.itemCode);
    }
    if (codes.empty()) return {};
    std::string path = "//";
    SegmentKind previous = kSegmentNone;
    std::for_each(codes.rbegin(), codes.rend(),
                  [&](int32_t code) { previous = AppendSegmentText(path, code, previous, tree.Keys()); });
    return path;
}

} // namespace vivu
