// What the result page shows for the selected node: path, type, content and access code.
#pragma once

#include "view/NodeDetails.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vivu {

struct NodePanelTexts {
    std::string code;          // the code box: the access snippet, lines joined with CR LF
    std::string path;          // the path box: the current NodePath
    std::string_view typeName; // the type box
    std::string content;       // the content box, with edit-box line breaks
};

// The content box shows at most about this many bytes of a node's content: the box is for a
// glance, and the whole content is one double-click away in the view.
inline constexpr size_t kContentBoxLimit = 64 * 1024;

// Runs the selection change to selectedItem (-1 for none) on current and gives the
// texts of the four boxes. For the root item or no selection the type, content and
// code are empty and the path box keeps the current path. Nothing when no document
// is loaded: the screen then stays as it is.
std::optional<NodePanelTexts> NodePanel(const ResultTreeModel& tree, const JsonModel& model, int32_t selectedItem,
                                        CurrentNode& current);

} // namespace vivu
