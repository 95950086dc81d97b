// Go to: the tree item a typed NodePath names, or why there is none.
#include "view/GoToPath.h"

#include "kova/NodePath.h"

#include "kova/Value.h"

#include <vector>

namespace vivu {

namespace {

// The child of item that segment names; -1 for none.
int32_t ChildNamed(ResultTreeModel& tree, int32_t item, const kova::PathSegment& segment) {
    if (segment.kind == kova::PathSegment::Key) {
        tree.Keys().RegisterKey(segment.text);
        return tree.MemberNamed(item, segment.text);
    }
    if (tree.Value(item).Type() != kova::kTypeList) return -1;
    const int64_t position = kova::SegmentPosition(segment.text);
    if (position < 1) return -1;
    return tree.ChildAt(item, static_cast<size_t>(position - 1));
}

GoToResult Failure(GoToResult::Outcome outcome, std::string_view message) {
    GoToResult result;
    result.outcome = outcome;
    result.message = message;
    result.title = kGoToFailedTitle;
    return result;
}

} // namespace

GoToResult GoToPath(ResultTreeModel& tree, std::string_view path) {
    if (path.empty()) return {};
    std::vector<kova::PathSegment> segments;
    if (!kova::ParseNodePath(path, segments)) return Failure(GoToResult::kUnparsable, kUnparsablePathMessage);
    int32_t current = 0;
    int32_t parent = 0;
    for (const kova::PathSegment& segment : segments) {
        const int32_t found = tree.IsItem(current) ? ChildNamed(tree, current, segment) : -1;
        if (found < 0) return Failure(GoToResult::kNotFound, kPathNotFoundMessage);
        parent = current;
        current = found;
    }
    GoToResult result;
    result.outcome = GoToResult::kFound;
    result.item = current;
    result.parent = parent;
    return result;
}

} // namespace vivu
