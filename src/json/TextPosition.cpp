// Line and column of a byte offset, for telling the user where a document stops being JSON.
#include "json/TextPosition.h"

#include "kova/CreateString.h"

#include <algorithm>

namespace vivu {

TextPosition PositionOfOffset(std::string_view text, size_t offset) {
    offset = std::min(offset, text.size());
    TextPosition position;
    for (size_t i = 0; i < offset; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++position.line; // the LF of a CR LF ends the line; its CR counts for nothing
            position.column = 1;
        } else if (c != '\r' && (c & 0xC0) != 0x80) {
            ++position.column; // continuation bytes belong to the character before them
        }
    }
    return position;
}

std::string PositionLine(const TextPosition& position) {
    return kova::CreateString("位置：第 {1} 行，第 {2} 列",
                              {std::to_string(position.line), std::to_string(position.column)});
}

} // namespace vivu
