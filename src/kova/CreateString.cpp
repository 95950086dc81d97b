// Filling text templates.
#include "kova/CreateString.h"

#include <vector>

namespace kova {

std::string CreateString(std::string_view pattern, std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> arguments(args);
    std::string out;
    out.reserve(pattern.size() + 32);
    const size_t n = pattern.size();
    for (size_t i = 0; i < n;) {
        const char c = pattern[i];
        // A backslash before two single quotes stays: the quotes give a double quote.
        const bool beforeQuotePair = i + 2 < n && pattern[i + 1] == '\'' && pattern[i + 2] == '\'';
        if (c == '\\' && i + 1 < n && !beforeQuotePair) {
            const char next = pattern[i + 1];
            const char* escaped = nullptr;
            switch (next) {
            case 'r':
                escaped = "\r";
                break;
            case 'n':
                escaped = "\n";
                break;
            case 't':
                escaped = "\t";
                break;
            case '\'':
                escaped = "'";
                break;
            case '{':
                escaped = "{";
                break;
            case '}':
                escaped = "}";
                break;
            case '\\':
                escaped = "\\";
                break;
            }
            if (escaped) {
                out += escaped;
                i += 2;
                continue;
            }
        } else if ((c == '\'' || c == '`') && i + 1 < n && pattern[i + 1] == c) {
            out += '"';
            i += 2;
            continue;
        } else if (c == '{') {
            size_t close = i + 1;
            while (close < n && pattern[close] >= '0' && pattern[close] <= '9' && close - i <= 9) ++close;
            if (close > i + 1 && close < n && pattern[close] == '}') {
                size_t number = 0;
                for (size_t k = i + 1; k < close; ++k) number = number * 10 + (pattern[k] - '0');
                if (number >= 1 && number <= arguments.size()) out += arguments[number - 1];
                i = close + 1;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

} // namespace kova
