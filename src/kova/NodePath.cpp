// Parsing and escaping of addressing paths.
#include "kova/NodePath.h"

namespace kova {

bool ParseNodePath(std::string_view text, std::vector<PathSegment>& segments) {
    segments.clear();
    if (!IsPathText(text)) {
        segments.push_back({PathSegment::Key, std::string(text)});
        return true;
    }
    bool inside = false;
    PathSegment current{PathSegment::Key, {}};
    size_t i = 2;
    const size_t n = text.size();
    while (i < n) {
        char c = text[i];
        if (!inside) {
            if (c == '[') {
                current = {PathSegment::Index, {}};
                inside = true;
                ++i;
            } else if (c == '.') {
                ++i;
            } else {
                current = {PathSegment::Key, {}};
                inside = true; // the character is read again inside the segment
            }
            continue;
        }
        if (c == ']' || c == '.') {
            segments.push_back(std::move(current));
            inside = false;
            ++i;
            continue;
        }
        if (c == '[') {
            segments.push_back(std::move(current));
            inside = false;
            continue;
        }
        if (c == '\\') {
            if (i + 1 < n) current.text += text[i + 1];
            i += 2;
        } else {
            current.text += c;
            ++i;
        }
        if (i >= n) {
            if (!current.text.empty()) segments.push_back(std::move(current));
            inside = false;
        }
    }
    return !segments.empty();
}

int64_t SegmentPosition(std::string_view text) {
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        if (value > (INT64_MAX - (c - '0')) / 10) return INT64_MAX;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string EscapeKeyName(std::string_view key) {
    // A "]" where a segment would start is a segment of its own that it ends at once:
    // the only way a path names the key "".
    if (key.empty()) return "]";
    std::string escaped;
    escaped.reserve(key.size() + 8);
    for (char c : key) {
        if (c == '\\' || c == '.' || c == '[' || c == ']') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

} // namespace kova
