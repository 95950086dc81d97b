// The main window's result page: node details, Go to, expand all and the view of a node.
#include "codegen/AccessCode.h"
#include "codegen/CodeLines.h"
#include "kova/Encoding.h"
#include "ui/ControlBuilder.h"
#include "ui/MainWindow.h"
#include "ui/ViewWindow.h"
#include "view/GoToPath.h"

namespace vivu {

void MainWindow::NodeDetails() {
    ResultTree& tree = *objects_.resultTree;
    const JsonModel& model = *objects_.model;
    CurrentNode& current = objects_.currentNode;
    const int32_t selected = tree.SelectedItemIndex();
    const NodeSelection selection = UpdateCurrentNode(tree.Model(), model, selected, current);
    if (selection == NodeSelection::kNoDocument) return; // nothing on the screen changes
    std::vector<std::string> lines;
    std::string_view typeName;
    if (selection == NodeSelection::kNode) {
        lines = AccessCodeGenerator(model.kind, current.type, current.path);
        typeName = DeclarationTypeName(current.type);
    }
    SetText(MainControl::编辑框_结果, JoinCodeLines(lines));
    SetText(MainControl::编辑框_结果_路径, current.path);
    SetText(MainControl::编辑框_结果_类型, typeName);
    SetText(MainControl::编辑框_结果_内容, EditBoxText(NodeContent(tree.Model(), model, selected, current).text));
}

void MainWindow::GoToPath() {
    const GoToResult result = vivu::GoToPath(objects_.resultTree->Model(), Text(MainControl::编辑框_结果_路径));
    if (result.outcome == GoToResult::kEmptyPath) return;
    if (result.outcome != GoToResult::kFound) {
        ShowFailure(std::string(result.message), std::string(result.title));
        return;
    }
    objects_.resultTree->Select(result.item); // the selection change shows the node's details
}

void MainWindow::OpenSelectedNode() {
    ResultTree& tree = *objects_.resultTree;
    tree.OnDoubleClick();
    const NodeContentText content =
        NodeContent(tree.Model(), *objects_.model, tree.SelectedItemIndex(), objects_.currentNode);
    OpenView(objects_, window_, content.text, content.isJson);
}

} // namespace vivu
