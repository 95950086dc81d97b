// Addressing paths: parsing never reads past the text, a key escaped for a path comes back as
// that key, and a path the tree builds from keys and positions parses back to them.
#include "fuzz/FuzzCheck.h"
#include "kova/NodePath.h"
#include "view/BuildNodePath.h"
#include "view/ItemCode.h"
#include "view/KeyRegistry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace kova;

namespace {

bool SameSegments(const std::vector<PathSegment>& a, const std::vector<PathSegment>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].kind != b[i].kind || a[i].text != b[i].text) return false;
    return true;
}

// Writes segments back with every special character escaped. Empty keys have no text of their
// own in a path, so they are not expected back.
std::string Reescape(const std::vector<PathSegment>& segments, std::vector<PathSegment>& expected) {
    std::string path = "//";
    for (const PathSegment& s : segments) {
        if (s.kind == PathSegment::Key && s.text.empty()) continue;
        expected.push_back(s);
        if (s.kind == PathSegment::Key && path.size() > 2) path += '.';
        if (s.kind == PathSegment::Index) path += '[';
        for (char c : s.text) {
            if (c == '\\' || c == '.' || c == '[' || c == ']') path += '\\';
            path += c;
        }
        if (s.kind == PathSegment::Index) path += ']';
    }
    return path;
}

void CheckParse(std::string_view text) {
    std::vector<PathSegment> segments{{PathSegment::Index, "stale"}};
    const bool ok = ParseNodePath(text, segments);
    FUZZ_CHECK(ok == !segments.empty());
    if (!IsPathText(text)) {
        FUZZ_CHECK(ok && segments.size() == 1 && segments[0].kind == PathSegment::Key && segments[0].text == text);
        return;
    }
    size_t textBytes = 0;
    for (const PathSegment& s : segments) textBytes += s.text.size();
    FUZZ_CHECK(textBytes <= text.size() - 2);

    std::vector<PathSegment> expected;
    const std::string canonical = Reescape(segments, expected);
    std::vector<PathSegment> again;
    FUZZ_CHECK(ParseNodePath(canonical, again) == !expected.empty());
    FUZZ_CHECK(SameSegments(again, expected));
}

// The whole input as one key: escaped, it is a one-segment path naming that key, whatever
// it holds, empty included.
void CheckEscapedKey(std::string_view key) {
    const std::string escaped = EscapeKeyName(key);
    std::vector<PathSegment> segments;
    const bool ok = ParseNodePath("//" + escaped, segments);
    FUZZ_CHECK(ok && segments.size() == 1);
    FUZZ_CHECK(segments[0].kind == PathSegment::Key && segments[0].text == key);
}

// Input split at NUL bytes into segments: a piece starting with 0x01 is a list position, any
// other a key without brackets. The path the tree builds for them must parse back to them.
void CheckBuiltPath(std::string_view input) {
    vivu::KeyRegistry keys;
    std::vector<int32_t> codes;
    std::vector<PathSegment> expected;
    size_t start = 0;
    while (start <= input.size() && codes.size() < 64) {
        size_t end = input.find('\0', start);
        if (end == std::string_view::npos) end = input.size();
        std::string_view piece = input.substr(start, end - start);
        start = end + 1;
        if (!piece.empty() && piece[0] == '\x01') {
            uint32_t n = 0;
            for (unsigned char c : piece.substr(1)) n = n * 31 + c;
            const int32_t position = 1 + static_cast<int32_t>(n % (vivu::kCodeKindSize - 1));
            codes.push_back(vivu::IndexCode(position));
            expected.push_back({PathSegment::Index, std::to_string(position)});
        } else {
            std::string key;
            for (char c : piece)
                if (c != '[' && c != ']') key += c;
            if (key.empty()) continue;
            codes.push_back(keys.RegisterKey(key));
            expected.push_back({PathSegment::Key, key});
        }
    }
    if (codes.empty()) return;
    std::string path = "//";
    vivu::SegmentKind previous = vivu::kSegmentNone;
    for (int32_t code : codes) previous = vivu::AppendSegmentText(path, code, previous, keys);
    std::vector<PathSegment> parsed;
    FUZZ_CHECK(ParseNodePath(path, parsed));
    FUZZ_CHECK(SameSegments(parsed, expected));
    for (const PathSegment& s : parsed)
        if (s.kind == PathSegment::Index) FUZZ_CHECK(std::to_string(SegmentPosition(s.text)) == s.text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckParse(text);
    CheckEscapedKey(text);
    CheckBuiltPath(text);
    // SegmentPosition reads leading digits and saturates instead of overflowing.
    const int64_t position = SegmentPosition(text);
    FUZZ_CHECK(position >= 0);
    if (!text.empty() && (text[0] < '0' || text[0] > '9')) FUZZ_CHECK(position == 0);
    return 0;
}
