// The current node (its NodePath and type code) and the content shown for it.
#include "view/NodeDetails.h"

#include "kova/Value.h"
#include "view/BuildNodePath.h"
#include "view/ItemCode.h"

namespace vivu {

namespace {

template <typename Root> NodeContentText ContentIn(const Root& root, const CurrentNode& current) {
    if (current.type == kova::kTypeMap) {
        kova::JMap map;
        if (root.GetMap(current.path, map)) return {map.ToJSON(true), true};
    } else if (current.type == kova::kTypeList) {
        kova::JList list;
        if (root.GetList(current.path, list)) return {list.ToJSON(true), true};
    }
    return {root.GetString(current.path), false};
}

} // namespace

NodeSelection UpdateCurrentNode(const ResultTreeModel& tree, const JsonModel& model, int32_t selectedItem,
                                CurrentNode& current) {
    if (selectedItem <= 0) return NodeSelection::kNoNode;
    current.path = BuildNodePath(tree, selectedItem);
    if (model.kind == kRootObject) {
        current.type = model.object.GetType(current.path);
    } else if (model.kind == kRootArray) {
        current.type = model.array.GetType(current.path);
    } else {
        return NodeSelection::kNoDocument;
    }
    return NodeSelection::kNode;
}

NodeContentText NodeContent(const ResultTreeModel& tree, const JsonModel& model, int32_t selectedItem,
                            const CurrentNode& current) {
    ItemRecord record;
    if (!tree.ReadItemRecord(selectedItem, record) || record.itemCode == kRootItemCode) return {};
    if (model.kind == kRootObject) return ContentIn(model.object, current);
    if (model.kind == kRootArray) return ContentIn(model.array, current);
    return {};
}

} // namespace vivu
