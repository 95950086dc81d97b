// Number and display texts of values.
#include "kova/JsonText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kova {

namespace {

// A decimal number as sign, significant digits and exponent: value = 0.digits × 10^exponent.
// Only up to 17 significant digits are kept: no double needs more, so a number
// with more can never equal a double's shortest text.
struct Decimal {
    bool negative = false;
    char digits[18] = {};
    int count = 0;
    long long exponent = 0;
    bool valid = true;
    bool operator==(const Decimal& o) const {
        return valid && o.valid && negative == o.negative && count == o.count && exponent == o.exponent &&
               std::equal(digits, digits + count, o.digits);
    }
};

Decimal Normalize(std::string_view text) {
    Decimal d;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) d.negative = text[i++] == '-';
    long long point = -1, position = 0, firstDigit = -1;
    int zeros = 0; // zeros seen after the last non-zero digit
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '.' && point < 0) {
            point = position;
            continue;
        }
        if (c < '0' || c > '9') break;
        ++position;
        if (c == '0') {
            if (firstDigit >= 0) ++zeros;
            continue;
        }
        if (firstDigit < 0) firstDigit = position - 1;
        if (d.count + zeros + 1 > 17) {
            d.valid = false;
            return d;
        }
        for (; zeros > 0; --zeros) d.digits[d.count++] = '0';
        d.digits[d.count++] = c;
    }
    if (point < 0) point = position;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && text[i] == '+') ++i;
        auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), exponent);
        if (ec != std::errc() || end != text.data() + text.size()) d.valid = false;
    } else if (i != text.size()) {
        d.valid = false;
    }
    if (d.count == 0) return d; // zero, with its sign
    if (exponent > (1LL << 60) || exponent < -(1LL << 60)) d.valid = false;
    d.exponent = point - firstDigit + exponent;
    return d;
}

// Up to 15 significant digits survive a trip through a double unchanged, as
// long as the exponent stays well inside the normal range.
bool FitsDoublePrecision(std::string_view text) {
    int significant = 0, pending = 0; // pending: zeros that count only if a digit follows
    bool started = false;
    size_t i = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '-' || c == '.') continue;
        if (c < '0' || c > '9') break;
        if (c == '0') {
            if (started) ++pending;
            continue;
        }
        started = true;
        significant += pending + 1;
        pending = 0;
    }
    if (significant > 15) return false;
    if (i < text.size()) { // exponent part
        int exponent = 0;
        const size_t digits = i + 1 + (i + 1 < text.size() && text[i + 1] == '+');
        auto [end, ec] = std::from_chars(text.data() + digits, text.data() + text.size(), exponent);
        (void)end;
        if (ec != std::errc() || exponent > 250 || exponent < -250) return false;
    }
    return text.size() < 250;
}

} // namespace

bool SameDecimal(std::string_view text, double v) {
    if (FitsDoublePrecision(text)) return true;
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    if (ec != std::errc()) return false;
    const std::string_view shortest(buffer, end - buffer);
    if (shortest == text) return true; // most long numbers are written in their shortest form already
    Decimal a = Normalize(text);
    return a.valid && a == Normalize(shortest);
}
void AppendNumberText(std::string& out, const ValueRef& number, int decimals) {
    char buffer[400];
    switch (number.Type()) {
    case kTypeInt:
    case kTypeLong: {
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number.AsInt());
        out.append(buffer, end);
        return;
    }
    case kTypeDouble:
    case kTypeFloat: {
        if (number.KeepsSourceText()) {
            out += number.Str();
            return;
        }
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
