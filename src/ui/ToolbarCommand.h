// What a toolbar button does, chosen by its caption.
#pragma once

#include <string_view>

namespace vivu {

enum class ToolbarCommand { None, Copy, Paste, Clear, Format, Compress, Undo, Redo, Parse, KeyName, About };

// Exact, case-sensitive comparison, first match wins; an unknown caption does nothing.
ToolbarCommand ToolbarCommandOfCaption(std::string_view caption);

} // namespace vivu
