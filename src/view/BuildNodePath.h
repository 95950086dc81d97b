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
// another kind (the root's). position is the element's position (from 1), which
// kLongPositionCode does not hold.
SegmentKind AppendSegmentText(std::string& path, int32_t code, SegmentKind previous, const KeyRegistry& keys,
                              int64_t position = 0);

// "//" and the segments from the root down to item; empty for the root item and
// for an index that is no item.
std::string BuildNodePath(const ResultTreeModel& tree, int32_t item);

// The NodePaths of items asked for in ascending item index (pre-order), the same as
// BuildNodePath gives, each made from its parent's path while walking the document:
// nothing is kept of the items passed, and no item is asked of the model.
class PreOrderPaths {
public:
    explicit PreOrderPaths(const ResultTreeModel& tree) : tree_(tree) {}
    // Valid until the next call; empty for the root item and past the last item. Asking
    // for a smaller index than before walks again from the start.
    std::string_view PathOf(int32_t item);
    // Of the item PathOf reached last, below the root: the container it is in, its
    // position there (from 0) and its depth.
    const kova::ValueRef& Parent() const { return parent_; }
    size_t Position() const { return position_; }
    int32_t Depth() const { return depth_; }

private:
    struct Level {
        kova::ValueRef container;
        size_t next;      // its next child
        size_t length;    // of its path
        SegmentKind kind; // of its last segment
    };
    void Restart();
    // Goes on to the next item; false past the last.
    bool Step();

    const ResultTreeModel& tree_;
    std::vector<Level> levels_; // the containers the walk is in, from the root down
    int32_t item_ = -1;         // the item reached
    std::string path_;          // its path
    kova::ValueRef parent_;
    size_t position_ = 0;
    int32_t depth_ = 0;
};

} // namespace vivu
