// The current node (its NodePath and type code) and the content shown for it.
#include "view/NodeDetails.h"

#include "kova/Encoding.h"
#include "kova/JsonText.h"
#include "view/BuildNodePath.h"
#include "view/ItemCode.h"

namespace vivu {

namespace {

// The pretty text of a table or list, or at most about limit bytes of it (0: all).
std::string PrettyText(const kova::Collection& container, size_t limit) {
    kova::JsonWriteOptions options;
    options.pretty = true;
    options.truncateAt = limit;
    return kova::WriteJsonText(container.Root(), options);
}

template <typename Root> NodeContentText ContentIn(const Root& root, const CurrentNode& current, size_t limit) {
    NodeContentText content;
    if (current.type == kova::kTypeMap) {
        kova::JMap map;
        if (root.GetMap(current.path, map)) content = {PrettyText(map, limit), true};
    } else if (current.type == kova::kTypeList) {
        kova::JList list;
        if (root.GetList(current.path, list)) content = {PrettyText(list, limit), true};
    }
    if (!content.isJson) content.text = root.GetString(current.path);
    if (limit && content.text.size() >= limit) {
        content.text.resize(kova::Utf8Boundary(content.text, limit));
        content.text += kContentCutMark;
    }
    return content;
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
                            const CurrentNode& current, size_t limit) {
    ItemRecord record;
    if (!tree.ReadItemRecord(selectedItem, record) || record.itemCode == kRootItemCode) return {};
    if (model.kind == kRootObject) return ContentIn(model.object, current, limit);
    if (model.kind == kRootArray) return ContentIn(model.array, current, limit);
    return {};
}

NodeContentText ViewContent(const ResultTreeModel& tree, const JsonModel& model, int32_t selectedItem,
                            const CurrentNode& current) {
    ItemRecord record;
    if (!tree.ReadItemRecord(selectedItem, record) || record.itemCode != kRootItemCode)
        return NodeContent(tree, model, selectedItem, current);
    if (model.kind == kRootObject) return {PrettyText(model.object, 0), true};
    if (model.kind == kRootArray) return {PrettyText(model.array, 0), true};
    return {};
}

} // namespace vivu
