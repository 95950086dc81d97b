// The result tree without a window: records, labels, images and states in pre-order.
#include "view/ResultTreeModel.h"

#include "kova/JsonText.h"
#include "kova/Value.h"
#include "view/ItemCode.h"
#include "view/ItemLabel.h"

namespace vivu {

namespace {

kova::ValueRef RootOf(const JsonModel& model) {
    if (model.kind == kRootObject) return model.object.Root();
    if (model.kind == kRootArray) return model.array.Root();
    return kova::ValueRef();
}

void AppendValueOf(std::string& out, const kova::ValueRef& value) {
    const int32_t type = value.Type();
    if (kova::IsContainerType(type)) return;
    if (kova::IsTextType(type)) {
        AppendValueLabel(out, type, value.Str()); // no copy of a long text just to cut it
    } else {
        AppendValueLabel(out, type, kova::DisplayText(value));
    }
}

} // namespace

void ResultTreeModel::Rebuild(const JsonModel& model, bool expandAll) {
    records_.clear();
    looks_.clear();
    labels_.clear();
    keys_.Clear();
    document_ = kova::Value();
    const kova::ValueRef root = RootOf(model);
    if (!root) return;
    document_ = model.kind == kRootObject ? model.object.AsValue() : model.array.AsValue();
    if (root.DocumentNode()) {
        // An item per value: sized once instead of growing (and copying) a few hundred megabytes.
        const size_t count = root.DocumentOwner()->NodeCount();
        records_.reserve(count);
        looks_.reserve(count);
    }
    AddItem(-1, model.kind, kRootItemCode, 0, true);
    AppendValueLabel(labels_, model.kind, RootLabel(model.kind));
    AddChildren(root, expandAll);
}

void ResultTreeModel::AddChildren(const kova::ValueRef& rootContainer, bool expandAll) {
    struct Frame {
        kova::ValueRef container;
        bool isMap;
        int32_t item;
        size_t next; // the next member or element to add
        size_t count;
    };
    std::vector<Frame> stack{{rootContainer, rootContainer.Type() == kova::kTypeMap, 0, 0, rootContainer.Count()}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.count) {
            looks_[top.item].subtreeEnd = ItemCount();
            stack.pop_back();
            continue;
        }
        const size_t at = top.next++;
        const int32_t parent = top.item;
        const int32_t depth = records_[parent].depth + 1;
        // Values are read straight from storage: a key beginning with "//" is then
        // shown with its value instead of being read as a path by the getters.
        const kova::ValueRef value = top.container.At(at);
        const int32_t type = value.Type();
        const bool expanded = expandAll && depth < kDeepestShownDepth;
        int32_t item;
        if (top.isMap) {
            const std::string_view key = top.container.KeyAt(at);
            item = AddItem(parent, type, keys_.RegisterKey(key), depth, expanded);
            AppendMemberKeyLabel(labels_, key, type);
        } else {
            const int32_t position = static_cast<int32_t>(at + 1);
            item = AddItem(parent, type, IndexCode(position), depth, expanded);
            AppendElementKeyLabel(labels_, position);
        }
        AppendValueOf(labels_, value);
        if (depth == kDeepestShownDepth && kova::IsContainerType(type) && value.Count() > 0) labels_ += kTooDeepMark;
        if (kova::IsContainerType(type)) {
            stack.push_back({value, type == kova::kTypeMap, item, 0, value.Count()}); // top is invalid from here
        } else {
            looks_[item].subtreeEnd = item + 1;
        }
    }
}

int32_t ResultTreeModel::AddItem(int32_t parent, int32_t type, int32_t code, int32_t depth, bool expanded) {
    const bool container = kova::IsContainerType(type);
    records_.push_back({parent, depth, code, container ? 1 : 0});
    looks_.push_back({labels_.size(), 0, ItemImageOf(type), ItemStateOf(type, expanded)});
    return ItemCount() - 1;
}

bool ResultTreeModel::ReadItemRecord(int32_t item, ItemRecord& record) const {
    if (!IsItem(item)) return false;
    record = records_[item];
    return true;
}

std::string_view ResultTreeModel::Label(int32_t item) const {
    const size_t start = looks_[item].labelStart;
    const size_t end = item + 1 < ItemCount() ? looks_[item + 1].labelStart : labels_.size();
    return std::string_view(labels_).substr(start, end - start);
}

int32_t ResultTreeModel::NextSibling(int32_t item) const {
    const int32_t parent = records_[item].parent;
    if (parent < 0) return -1;
    const int32_t next = SubtreeEnd(item);
    return next < SubtreeEnd(parent) ? next : -1;
}

int32_t ResultTreeModel::ShownItem(int32_t item) const {
    for (int32_t depth = records_[item].depth; depth > kDeepestShownDepth; --depth) item = records_[item].parent;
    return item;
}

std::vector<int32_t> ResultTreeModel::ExpandableItems() const {
    std::vector<int32_t> items;
    for (int32_t i = 1; i < ItemCount(); ++i) {
        if (CanExpand(i)) items.push_back(i);
    }
    return items;
}

} // namespace vivu
