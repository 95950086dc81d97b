// The parsed document: an object root, an array root and which of them holds it.
#pragma once

#include "kova/JList.h"
#include "kova/JMap.h"

#include <cstdint>

namespace vivu {

enum RootKind : int32_t { kRootNone = 0, kRootObject = 11, kRootArray = 12 };

// Both roots live for the whole run. Only the one matching kind is meaningful;
// the other keeps whatever it held before. Readers test kind first.
struct JsonModel {
    int32_t kind = kRootNone;
    kova::JMap object;
    kova::JList array;
};

} // namespace vivu
