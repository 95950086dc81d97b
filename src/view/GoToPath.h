// Go to: the tree item a typed NodePath names, or why there is none.
#pragma once

#include "view/ResultTreeModel.h"

#include <cstdint>
#include <string_view>

namespace vivu {

inline constexpr std::string_view kGoToFailedTitle = "无法跳转";
inline constexpr std::string_view kUnparsablePathMessage = "无法解析的路径格式";
inline constexpr std::string_view kPathNotFoundMessage = "无法跳转到指定的路径！";

struct GoToResult {
    enum Outcome { kEmptyPath, kFound, kUnparsable, kNotFound };
    Outcome outcome = kEmptyPath;
    int32_t item = -1;   // kFound: the item named
    int32_t parent = -1; // kFound: its parent, made visible before the item
    // kUnparsable and kNotFound: what the message box shows; empty otherwise.
    std::string_view message;
    std::string_view title;
};

// Resolves path segment by segment among the children of the item found so far.
// A text without "//" is one key of the root. Key segments are looked up with
// RegisterKey, so a key not in the document joins the registry. An index matches
// positions from 1 however long the list: "0", "-1" and "x" never do.
GoToResult GoToPath(ResultTreeModel& tree, std::string_view path);

} // namespace vivu
