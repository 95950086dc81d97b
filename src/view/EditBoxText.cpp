// Line breaks for multi-line edit boxes.
#include "view/EditBoxText.h"

namespace vivu {

std::string EditBoxText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

} // namespace vivu
