// The texts of the result page for a selection.
#include "view/NodePanel.h"

#include "codegen/AccessCode.h"
#include "codegen/CodeLines.h"
#include "view/EditBoxText.h"

#include <vector>

namespace vivu {

std::optional<NodePanelTexts> NodePanel(const ResultTreeModel& tree, const JsonModel& model, int32_t selectedItem,
                                        CurrentNode& current) {
    const NodeSelection selection = UpdateCurrentNode(tree, model, selectedItem, current);
    if (selection == NodeSelection::kNoDocument) return std::nullopt;
    NodePanelTexts texts;
    if (selection == NodeSelection::kNode) {
        texts.code = JoinCodeLines(AccessCodeGenerator(model.kind, current.type, current.path));
        texts.typeName = DeclarationTypeName(current.type);
    }
    texts.path = current.path;
    texts.content = EditBoxText(NodeContent(tree, model, selectedItem, current, kContentBoxLimit).text);
    return texts;
}

} // namespace vivu
