// Shortening long value texts for tree labels, measured as GBK would measure them.
#include "view/TruncateValue.h"

#include "kova/Encoding.h"

namespace vivu {

size_t TruncationPoint(std::string_view text) {
    // No character is longer in GBK than in UTF-8, so a text this short is short in GBK too.
    if (text.size() <= kMaxValueLength) return std::string_view::npos;
    size_t width = 0;
    size_t i = 0;
    size_t cut = std::string_view::npos;
    while (i < text.size()) {
        const bool ascii = static_cast<unsigned char>(text[i]) < 0x80;
        uint32_t cp = 0;
        size_t length = ascii ? 1 : kova::DecodeUtf8(text, i, cp);
        if (length == 0) length = 1; // a stray byte counts as one non-ASCII character
        width += ascii ? 1 : 2;
        i += length;
        if (cut == std::string_view::npos && width >= kMaxValueLength) {
            cut = i;
            // Whole only when nothing follows.
            if (i == text.size() && width <= kMaxValueLength) return std::string_view::npos;
        }
        if (cut != std::string_view::npos && width > kMaxValueLength) return cut;
    }
    return std::string_view::npos;
}

bool TruncateValue(std::string& text) {
    const size_t cut = TruncationPoint(text);
    if (cut == std::string_view::npos) return false;
    text.resize(cut);
    text += kTruncationMark;
    return true;
}

} // namespace vivu
