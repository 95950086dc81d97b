// Readable test failures: layout rectangles print as {left, top, right, bottom}.
#pragma once

#include "ui/LayoutManagerGeometry.h"

#include <ostream>

namespace vivu {
inline void PrintTo(const LayoutRect& r, std::ostream* out) {
    *out << '{' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << '}';
}
} // namespace vivu
