// The NodePath of a tree item, built from the ItemCodes of its ancestors.
#pragma once

#include "view/KeyRegistry.h"
#include "view/ResultTreeModel.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// The NodePaths of items asked for in ascending item index (pre-order), the same as
// BuildNodePath gives, each made from its parent's path: walking the whole ancestry
// for every item would cost the depth each time, which is quadratic for deep documents.
class PreOrderPaths {
public:
    explicit PreOrderPaths(const ResultTreeModel& tree) : tree_(tree) {}
    // Valid until the next call. Asking for a smaller index than before, or for
    // items apart from each other, costs their depth once.
    std::string_view PathOf(int32_t item);

private:
    struct Level {
        int32_t item;
        size_t length; // of the item's path
        SegmentKind kind;
    };
    // Appends item below the last level, whose item must be its parent.
    void Push(int32_t item);

    const ResultTreeModel& tree_;
    std::vector<Level> chain_; // the last item and its ancestors, from the root down
    std::string path_;         // the last item's path
};

} // namespace vivu
