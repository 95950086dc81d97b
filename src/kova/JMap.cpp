// Key-value tables.
#include "kova/JMap.h"

#include <algorithm>
#include <functional>

namespace kova {

std::vector<std::string> JMap::GetKeys(int order) const {
    std::vector<std::string> keys;
    keys.reserve(data_->members.size());
    for (const auto& member : data_->members) keys.push_back(member.key);
    if (order == kKeyOrderAscending) std::sort(keys.begin(), keys.end());
    if (order == kKeyOrderDescending) std::sort(keys.begin(), keys.end(), std::greater<>());
    return keys;
}

} // namespace kova
