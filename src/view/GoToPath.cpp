// Go to: the tree item a typed NodePath names, or why there is none.
#include "view/GoToPath.h"

#include "kova/NodePath.h"
#include "view/ItemCode.h"

#include <vector>

namespace vivu {

namespace {

constexpr int32_t kNoCode = -1; // no item has a negative ItemCode

int32_t TargetCode(ResultTreeModel& tree, const kova::PathSegment& segment) {
    if (segment.kind == kova::PathSegment::Key) return tree.Keys().RegisterKey(segment.text);
    const int64_t position = kova::SegmentPosition(segment.text);
    return position >= kCodeKindSize ? kNoCode : IndexCode(static_cast<int32_t>(position));
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
        const int32_t target = TargetCode(tree, segment);
        int32_t found = -1;
        if (tree.IsItem(current)) {
            // Only the children of current can match; the subtrees between them are skipped whole.
            for (int32_t i = tree.FirstChild(current); i >= 0; i = tree.NextSibling(i)) {
                if (tree.Record(i).itemCode == target) {
                    found = i;
                    break;
                }
            }
        }
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
