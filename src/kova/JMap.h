// The key-value table of the data layer (a JSON object), members in insertion order.
#pragma once

#include "kova/Collection.h"

#include <string>
#include <vector>

namespace kova {

class JMap : public Collection {
public:
    JMap() : Collection(kTypeMap) {}
    // An independent copy (storage is shared until either side is written).
    JMap BaseClone() const { return *this; }

    // All member keys: in table order (kKeyOrderNone), ascending or descending.
    std::vector<std::string> GetKeys(int order = kKeyOrderNone) const;
};

} // namespace kova
