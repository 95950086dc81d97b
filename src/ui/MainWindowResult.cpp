// The main window's result page: node details, Go to, expand all and the view of a node.
#include "ui/MainWindow.h"
#include "ui/ViewWindow.h"
#include "ui/WaitCursor.h"
#include "view/GoToPath.h"
#include "view/NodePanel.h"

#include <utility>

namespace vivu {

void MainWindow::NodeDetails() {
    ResultTree& tree = *objects_.resultTree;
    if (!tree.OnSelectionChanged()) return; // the same node again: its details stand
    const auto texts = NodePanel(tree.Model(), *objects_.model, tree.SelectedItemIndex(), objects_.currentNode);
    if (!texts) return; // no document: nothing on the screen changes
    SetText(MainControl::编辑框_结果, texts->code);
    SetText(MainControl::编辑框_结果_路径, texts->path);
    SetText(MainControl::编辑框_结果_类型, texts->typeName);
    SetText(MainControl::编辑框_结果_内容, texts->content);
}

void MainWindow::GoToPath() {
    const GoToResult result = vivu::GoToPath(objects_.resultTree->Model(), Text(MainControl::编辑框_结果_路径));
    if (result.outcome == GoToResult::kEmptyPath) return;
    if (result.outcome != GoToResult::kFound) {
        ShowFailure(std::string(result.message), std::string(result.title));
        return;
    }
    // The selection change shows the node's details, also for a node deeper than the tree
    // shows, whose ancestor is selected in the control.
    objects_.resultTree->Select(result.item);
}

void MainWindow::OpenSelectedNode() {
    const WaitCursor wait; // until the view shows: writing and showing a large node's text takes a while
    ResultTree& tree = *objects_.resultTree;
    tree.OnDoubleClick(); // may show the clicked item's details in place of a deeper node's
    NodeContentText content =
        ViewContent(tree.Model(), *objects_.model, tree.SelectedItemIndex(), objects_.currentNode);
    OpenView(objects_, Handle(), std::move(content.text), content.isJson);
}

} // namespace vivu
