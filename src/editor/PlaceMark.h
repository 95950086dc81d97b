// Showing the user one place in an editor's text.
#pragma once

#include "editor/CodeEditor.h"

#include <cstdint>

namespace vivu {

// The indicator that marks the place; the lexer's styles leave it alone.
inline constexpr int kPlaceIndicator = 8; // INDICATOR_CONTAINER

// Puts the caret at position (a byte offset, clamped to the text), scrolls it into view
// and marks the character there (the last one when position is the end) with a red box
// until the text next changes.
void ShowPlace(CodeEditor& editor, int64_t position);

} // namespace vivu
