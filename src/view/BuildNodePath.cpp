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

std::string_view PreOrderPaths::PathOf(int32_t item) {
    ItemRecord record;
    if (!tree_.ReadItemRecord(item, record)) return {};
    while (!chain_.empty() && chain_.back().item != record.parent) chain_.pop_back();
    if (chain_.empty()) {
        // Not below anything asked before: start from the root side of its ancestry.
        std::vector<int32_t> ancestors; // from the parent up to the root item
        for (int32_t up = record.parent; tree_.IsItem(up); up = tree_.Record(up).parent) ancestors.push_back(up);
        path_.clear();
        std::for_each(ancestors.rbegin(), ancestors.rend(), [&](int32_t a) { Push(a); });
    }
    Push(item);
    return path_;
}

void PreOrderPaths::Push(int32_t item) {
    const int32_t code = tree_.Record(item).itemCode;
    if (chain_.empty() || code == kRootItemCode) {
        chain_.assign(1, {item, 0, kSegmentNone}); // the root contributes nothing
        path_.clear();
        return;
    }
    const Level& parent = chain_.back();
    path_.resize(parent.length);
    if (path_.empty()) path_ = "//";
    const SegmentKind kind = AppendSegmentText(path_, code, parent.kind, tree_.Keys());
    chain_.push_back({item, path_.size(), kind});
}

} // namespace vivu
