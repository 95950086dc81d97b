// Number and display texts of values.
#include "kova/JsonText.h"

#include <charconv>
#include <cmath>

namespace kova {

namespace {

// A decimal number as sign, significant digits and exponent: value = 0.digits × 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
    bool valid = true;
    bool operator==(const Decimal&) const = default;
};

Decimal Normalize(std::string_view text) {
    Decimal d;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) d.negative = text[i++] == '-';
    long long point = -1;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '.' && point < 0) {
            point = static_cast<long long>(d.digits.size());
        } else if (c >= '0' && c <= '9') {
            d.digits += c;
        } else {
            break;
        }
    }
    if (point < 0) point = static_cast<long long>(d.digits.size());
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && text[i] == '+') ++i;
        auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), exponent);
        if (ec != std::errc() || end != text.data() + text.size()) d.valid = false;
    } else if (i != text.size()) {
        d.valid = false;
    }
    size_t lead = d.digits.find_first_not_of('0');
    if (lead == std::string::npos) {
        d.digits.clear();
        return d;
    }
    d.digits.erase(0, lead);
    point -= static_cast<long long>(lead);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    if (exponent > (1LL << 60) || exponent < -(1LL << 60)) d.valid = false;
    d.exponent = point + exponent;
    return d;
}

std::string Shortest(double v) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

} // namespace

bool SameDecimal(std::string_view text, double v) {
    Decimal a = Normalize(text);
    return a.valid && a == Normalize(Shortest(v));
}

std::string NumberText(const Value& number, int decimals) {
    char buffer[400];
    switch (number.Type()) {
    case kTypeInt:
    case kTypeLong: {
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number.AsInt());
        return std::string(buffer, end);
    }
    case kTypeDouble:
    case kTypeFloat: {
        if (number.KeepsSourceText()) return number.Str();
        double v = number.AsDouble();
        if (!std::isfinite(v)) return "null";
        if (decimals > 0) {
            auto [end, ec] =
                std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, std::min(decimals, 300));
            if (ec == std::errc()) return std::string(buffer, end);
        }
        std::string text = Shortest(v);
        if (text.find_first_of(".e") == std::string::npos) text += ".0"; // stays a double when read back
        return text;
    }
    default:
        return std::string();
    }
}

std::string DisplayText(const Value& value) {
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
        return value.Str();
    }
}

} // namespace kova
