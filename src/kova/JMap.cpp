// Key-value tables.
#include "kova/JMap.h"

#include <algorithm>
#include <functional>

namespace kova {

std::vector<std::string> JMap::GetKeys(int order) const {
    std::vector<std::string> keys;
    const ValueRef root = Root();
    keys.reserve(root.Count());
    for (size_t i = 0; i < root.Count(); ++i) keys.emplace_back(root.KeyAt(i));
    if (order == kKeyOrderAscending) std::sort(keys.begin(), keys.end());
    if (order == kKeyOrderDescending) std::sort(keys.begin(), keys.end(), std::greater<>());
    return keys;
}

} // namespace kova
