// The result tree without a window: records, labels, images and states in pre-order.
#include "view/ResultTreeModel.h"

#include "kova/JsonText.h"
#include "kova/Value.h"
#include "view/ItemCode.h"
#include "view/ItemLabel.h"

namespace vivu {

namespace {

const kova::Container* RootContainer(const JsonModel& model) {
    if (model.kind == kRootObject) return model.object.Storage().get();
    if (model.kind == kRootArray) return model.array.Storage().get();
    return nullptr;
}

size_t ChildCount(const kova::Container* container, int32_t type) {
    if (!container) return 0; // a container value may have no storage yet
    return type == kova::kTypeMap ? container->members.size() : container->items.size();
}

void AppendValueOf(std::string& out, const kova::Value& value) {
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
    const kova::Container* root = RootContainer(model);
    if (!root) return;
    AddItem(-1, model.kind, kRootItemCode, 0, true);
    AppendValueLabel(labels_, model.kind, RootLabel(model.kind));
    AddChildren(root, model.kind, expandAll);
}

void ResultTreeModel::AddChildren(const kova::Container* rootContainer, int32_t rootType, bool expandAll) {
    struct Frame {
        const kova::Container* container;
        int32_t type;
        int32_t item;
        size_t next; // the next member or element to add
    };
    std::vector<Frame> stack{{rootContainer, rootType, 0, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= ChildCount(top.container, top.type)) {
            looks_[top.item].subtreeEnd = ItemCount();
            stack.pop_back();
            continue;
        }
        const size_t at = top.next++;
        const int32_t parent = top.item;
        const int32_t depth = records_[parent].depth + 1;
        // Values are read straight from storage: a key beginning with "//" is then
        // shown with its value instead of being read as a path by the getters.
        const kova::Value* value;
        int32_t item;
        if (top.type == kova::kTypeMap) {
            const kova::Member& member = top.container->members[at];
            value = &member.value;
            item = AddItem(parent, value->Type(), keys_.RegisterKey(member.key), depth, expandAll);
            AppendMemberKeyLabel(labels_, member.key, value->Type());
        } else {
            const int32_t position = static_cast<int32_t>(at + 1);
            value = &top.container->items[at];
            item = AddItem(parent, value->Type(), IndexCode(position), depth, expandAll);
            AppendElementKeyLabel(labels_, position);
        }
        AppendValueOf(labels_, *value);
        if (kova::IsContainerType(value->Type())) {
            stack.push_back({value->Children().get(), value->Type(), item, 0}); // top is invalid from here
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

std::vector<int32_t> ResultTreeModel::ExpandableItems() const {
    std::vector<int32_t> items;
    for (int32_t i = 1; i < ItemCount(); ++i) {
        if (records_[i].hasChildren == 1) items.push_back(i);
    }
    return items;
}

} // namespace vivu
