// ItemCodes: where a tree item stands in its parent container.
#pragma once

#include <cstdint>

namespace vivu {

inline constexpr int32_t kRootItemCode = 0;
inline constexpr int32_t kCodeKindSize = 10'000'000;
inline constexpr int32_t kIndexCodeBase = 80'000'000; // + list position, from 1
inline constexpr int32_t kKeyCodeBase = 90'000'000;   // + key number in the KeyRegistry
inline constexpr int32_t kIndexCodeKind = 8;
inline constexpr int32_t kKeyCodeKind = 9;

// An element at 10,000,000 or later: the code cannot hold its position, which is then
// read from the document. No element has the position 0 it decodes to.
inline constexpr int32_t kLongPositionCode = kIndexCodeBase;

inline constexpr int32_t IndexCode(int64_t position) {
    return position < kCodeKindSize ? kIndexCodeBase + static_cast<int32_t>(position) : kLongPositionCode;
}

struct DecodedItemCode {
    int32_t kind;  // kIndexCodeKind, kKeyCodeKind, anything else has no path segment
    int32_t value; // the list position or the key number
};

inline constexpr DecodedItemCode DecodeItemCode(int32_t code) {
    return {code / kCodeKindSize, code % kCodeKindSize};
}

} // namespace vivu
