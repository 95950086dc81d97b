// The NodePath of a tree item, built from the ItemCodes of its ancestors.
#pragma once

#include "view/KeyRegistry.h"
#include "view/ResultTreeModel.h"

#include <cstdint>
#include <string>

namespace vivu {

// The kind of a path segment, with the data library's type codes.
enum SegmentKind : int32_t { kSegmentNone = 0, kSegmentKey = 11, kSegmentIndex = 12 };

// Appends the segment text of one ItemCode after a segment of kind previous and
// returns the kind of the segment appended: "[n]" (with "." only after another
// index), the escaped key (with "." after any segment), or nothing for a code of
// another kind (the root's).
SegmentKind AppendSegmentText(std::string& path, int32_t code, SegmentKind previous, const KeyRegistry& keys);

// "//" and the segments from the root down to item; empty for the root item and
// for an index that is no item.
std::string BuildNodePath(const ResultTreeModel& tree, int32_t item);

} // namespace vivu
