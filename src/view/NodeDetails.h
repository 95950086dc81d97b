// The current node (its NodePath and type code) and the content shown for it.
#pragma once

#include "view/ResultTreeModel.h"
#include "json/JsonModel.h"

#include <cstdint>
#include <string>

namespace vivu {

// Read by the content view and the code generators; kept until another node
// below the root is selected, emptied when 解析 puts a new document in the tree.
struct CurrentNode {
    std::string path;
    int32_t type = 0; // the data library's type code of the value at path
};

enum class NodeSelection {
    kNode,      // a node below the root: current holds its path and type
    kNoNode,    // the root item or nothing: current is unchanged; the boxes show no type, content or code
    kNoDocument // no document loaded: current.path was rebuilt, the screen stays as it is
};

// What a change of the tree's selection to selectedItem (-1 for none) does to
// the current node.
NodeSelection UpdateCurrentNode(const ResultTreeModel& tree, const JsonModel& model, int32_t selectedItem,
                                CurrentNode& current);

struct NodeContentText {
    std::string text;
    bool isJson = false; // pretty JSON of an object or array, shown styled
};

// The content of the node at current.path: pretty JSON for an object or array
// (falling back to the text getter when that fails), the value text otherwise,
// and empty while the root item or nothing (selectedItem -1) is selected.
// With a limit, a longer content is cut at about that many bytes and ends in
// kContentCutMark: only that much is written.
NodeContentText NodeContent(const ResultTreeModel& tree, const JsonModel& model, int32_t selectedItem,
                            const CurrentNode& current, size_t limit = 0);

// What "查看" shows for selectedItem: its NodeContent, and for the root item the whole
// document, as for any other object or array.
NodeContentText ViewContent(const ResultTreeModel& tree, const JsonModel& model, int32_t selectedItem,
                            const CurrentNode& current);

inline constexpr char kContentCutMark[] = "\n…";

} // namespace vivu
