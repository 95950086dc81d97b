// Find in the tree: the nodes whose key or shown value contains a text.
#pragma once

#include "view/ResultTreeModel.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace vivu {

inline constexpr std::string_view kFindTitle = "查找";
inline constexpr std::string_view kFindPrompt = "查找键名或值中的文本（不区分大小写）：";
inline constexpr std::string_view kFindNothingTemplate = "找不到“{1}”";

// Does text contain query, ASCII letters compared without case? Other bytes compare
// as they are, which keeps UTF-8 intact. An empty query is in every text.
bool ContainsIgnoringAsciiCase(std::string_view text, std::string_view query);

enum class FindDirection { kForward, kBackward };

// The first item after `after` (before it, backward) in pre-order whose member key, or
// whose scalar value as the content box shows it, contains query; past the last item
// the search goes on from the first once (and the other way round), so `after` itself
// is found last. after -1 starts before the first item (after the last, backward).
// -1 when no item matches or the query is empty. Reads the document the items were
// made from, so items the tree control never received are found too.
int32_t FindNode(const ResultTreeModel& tree, std::string_view query, int32_t after,
                 FindDirection direction = FindDirection::kForward);

// Every matching item in pre-order.
std::vector<int32_t> FindAllNodes(const ResultTreeModel& tree, std::string_view query);

} // namespace vivu
