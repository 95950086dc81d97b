// The NodePath of a tree item, built from the ItemCodes of its ancestors.
#include "view/BuildNodePath.h"

#include "kova/NodePath.h"
#include "view/ItemCode.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vivu {

SegmentKind AppendSegmentText(std::string& path, int32_t code, SegmentKind previous, const KeyRegistry& keys,
                              int64_t position) {
    const DecodedItemCode decoded = DecodeItemCode(code);
    if (decoded.kind == kIndexCodeKind) {
        if (previous == kSegmentIndex) path += '.';
        path += '[';
        path += std::to_string(code == kLongPositionCode ? position : decoded.value);
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
    std::vector<int32_t> items; // from the item up to the root
    for (ItemRecord record; tree.ReadItemRecord(item, record) && record.itemCode != kRootItemCode;
         item = record.parent) {
        items.push_back(item);
    }
    if (items.empty()) return {};
    std::string path = "//";
    SegmentKind previous = kSegmentNone;
    std::for_each(items.rbegin(), items.rend(), [&](int32_t i) {
        const int64_t position = static_cast<int64_t>(tree.Position(i)) + 1;
        previous = AppendSegmentText(path, tree.Record(i).itemCode, previous, tree.Keys(), position);
    });
    return path;
}

void PreOrderPaths::Restart() {
    levels_.clear();
    path_.clear();
    item_ = -1;
    if (!tree_.ItemCount()) return;
    levels_.push_back({tree_.Document(), 0, 0, kSegmentNone});
    item_ = 0;
    depth_ = 0;
}

bool PreOrderPaths::Step() {
    while (!levels_.empty() && levels_.back().next >= levels_.back().container.Count()) levels_.pop_back();
    if (levels_.empty()) return false;
    Level& top = levels_.back();
    position_ = top.next++;
    parent_ = top.container;
    depth_ = static_cast<int32_t>(levels_.size());
    path_.resize(top.length);
    if (path_.empty()) path_ = "//";
    const SegmentKind kind = AppendSegmentText(path_, tree_.ChildCode(parent_, position_), top.kind, tree_.Keys(),
                                               static_cast<int64_t>(position_) + 1);
    ++item_;
    const kova::ValueRef value = parent_.At(position_);
    if (kova::IsContainerType(value.Type()) && value.Count() > 0)
        levels_.push_back({value, 0, path_.size(), kind}); // top invalid now
    return true;
}

std::string_view PreOrderPaths::PathOf(int32_t item) {
    if (!tree_.IsItem(item)) return {};
    if (item_ < 0 || item < item_) Restart();
    while (item_ < item) {
        if (!Step()) return {};
    }
    return path_;
}

} // namespace vivu
