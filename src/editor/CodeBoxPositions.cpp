// Rich edit character positions of UTF-8 text.
#include "editor/CodeBoxPositions.h"

#include "kova/Encoding.h"

namespace vivu {

CodeBoxPositions::CodeBoxPositions(std::string_view utf8) : positions_(utf8.size() + 1) {
    uint32_t position = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        uint32_t cp = 0;
        size_t length = kova::DecodeUtf8(utf8, i, cp);
        uint32_t units = 1;
        if (length == 0) {
            length = 1;
        } else if (cp == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            length = 2; // CR LF is one paragraph end
        } else if (cp > 0xFFFF) {
            units = 2;
        }
        for (size_t k = 0; k < length; ++k) positions_[i + k] = position + (k == 0 ? 0 : units);
        position += units;
        i += length;
    }
    positions_[utf8.size()] = position;
}

} // namespace vivu
