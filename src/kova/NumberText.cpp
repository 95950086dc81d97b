// Number and display texts of values.
#include "kova/JsonText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kova {

void AppendNumberText(std::string& out, const ValueRef& number, int decimals) {
    char buffer[400];
    // Fixed decimals are asked of doubles only; "-0" stays an integer.
    if (number.KeepsSourceText() && (decimals <= 0 || number.Type() != kTypeDouble)) {
        out += number.Str();
        return;
    }
    switch (number.Type()) {
    case kTypeInt:
    case kTypeLong: {
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number.AsInt());
        out.append(buffer, end);
        return;
    }
    case kTypeDouble:
    case kTypeFloat: {
        const double v = number.AsDouble();
        if (!std::isfinite(v)) {
            out += "null";
            return;
        }
        if (decimals > 0) {
            auto [end, ec] =
                std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, std::min(decimals, 300));
            if (ec == std::errc()) {
                out.append(buffer, end);
                return;
            }
        }
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
        if (ec != std::errc()) return;
        const std::string_view text(buffer, end - buffer);
        out += text;
        if (text.find_first_of(".e") == std::string_view::npos) out += ".0"; // stays a double when read back
        return;
    }
    default:
        return;
    }
}

std::string NumberText(const ValueRef& number, int decimals) {
    std::string text;
    AppendNumberText(text, number, decimals);
    return text;
}

std::string DisplayText(const ValueRef& value) {
    switch (value.Type()) {
    case kTypeNull:
        return std::string();
    case kTypeBool:
        return value.AsBool() ? "真" : "假";
    case kTypeInt:
    case kTypeLong:
    case kTypeDouble:
    case kTypeFloat:
        return NumberText(value);
    case kTypeMap:
    case kTypeList:
        return WriteJsonText(value, JsonWriteOptions{});
    default:
        return std::string(value.Str());
    }
}

} // namespace kova
