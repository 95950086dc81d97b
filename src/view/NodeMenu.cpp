// The result tree's popup menu, apart from the window that shows it.
#include "view/NodeMenu.h"

#include "codegen/AccessCode.h"
#include "codegen/CodeLines.h"
#include "kova/JsonText.h"
#include "view/ItemCode.h"
#include "view/NodeDetails.h"

namespace vivu {

namespace {

constexpr NodeMenuEntry kEntries[] = {
    {"复制路径", NodeCommand::kCopyPath},
    {"复制键名", NodeCommand::kCopyKey},
    {"复制内容", NodeCommand::kCopyContent},
    {"复制存取代码", NodeCommand::kCopyAccessCode},
    {"在编辑器中显示", NodeCommand::kShowInEditor, true},
};

std::string RootContent(const JsonModel& model) {
    kova::JsonWriteOptions options;
    options.pretty = true;
    if (model.kind == kRootObject) return kova::WriteJsonText(model.object.Root(), options);
    if (model.kind == kRootArray) return kova::WriteJsonText(model.array.Root(), options);
    return {};
}

} // namespace

std::span<const NodeMenuEntry> NodeMenuEntries() {
    return kEntries;
}

bool NodeCommandEnabled(const ResultTreeModel& tree, int32_t item, NodeCommand command) {
    ItemRecord record;
    if (!tree.ReadItemRecord(item, record)) return false;
    switch (command) {
    case NodeCommand::kCopyPath:
    case NodeCommand::kCopyAccessCode:
        return item > 0;
    case NodeCommand::kCopyKey:
        return item > 0 && DecodeItemCode(record.itemCode).kind == kKeyCodeKind;
    default:
        return true;
    }
}

std::string NodeCopyText(const ResultTreeModel& tree, const JsonModel& model, int32_t item, NodeCommand command) {
    if (!NodeCommandEnabled(tree, item, command)) return {};
    if (command == NodeCommand::kCopyKey) {
        const std::string* key = tree.Keys().KeyText(DecodeItemCode(tree.Record(item).itemCode).value);
        return key ? *key : std::string();
    }
    if (item == 0) return command == NodeCommand::kCopyContent ? RootContent(model) : std::string();
    CurrentNode node; // this item's, whatever the panel shows
    if (UpdateCurrentNode(tree, model, item, node) != NodeSelection::kNode) return {};
    switch (command) {
    case NodeCommand::kCopyPath:
        return node.path;
    case NodeCommand::kCopyContent:
        return NodeContent(tree, model, item, node).text;
    case NodeCommand::kCopyAccessCode:
        return JoinCodeLines(AccessCodeGenerator(model.kind, node.type, node.path));
    default:
        return {};
    }
}

} // namespace vivu
