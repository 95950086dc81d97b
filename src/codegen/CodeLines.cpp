// Joining generated code lines.
#include "codegen/CodeLines.h"

namespace vivu {

std::string JoinCodeLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += kCodeLineBreak;
        text += lines[i];
    }
    return text;
}

} // namespace vivu
