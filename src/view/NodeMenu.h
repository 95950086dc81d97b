// The result tree's popup menu: its items, when each one works, and what the copy items copy.
#pragma once

#include "view/ResultTreeModel.h"
#include "json/JsonModel.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vivu {

enum class NodeCommand { kCopyPath, kCopyKey, kCopyContent, kCopyAccessCode, kShowInEditor };

struct NodeMenuEntry {
    std::string_view caption;
    NodeCommand command;
    bool separatorBefore = false;
};

// The items from top to bottom.
std::span<const NodeMenuEntry> NodeMenuEntries();

// Paths, keys and code have no text for the root item; a list element has no key.
bool NodeCommandEnabled(const ResultTreeModel& tree, int32_t item, NodeCommand command);

// What a copy item puts on the clipboard for item: the path and access code the node panel
// shows, the member's key as it is (not escaped for paths), the whole content (pretty JSON
// of a container, the root's too; a scalar as the content box shows it). Empty for a command
// that copies nothing or is not enabled.
std::string NodeCopyText(const ResultTreeModel& tree, const JsonModel& model, int32_t item, NodeCommand command);

} // namespace vivu
