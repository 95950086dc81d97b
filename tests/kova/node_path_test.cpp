// Splitting and escaping addressing paths.
#include "kova/NodePath.h"

#include <gtest/gtest.h>

using namespace kova;

namespace {
// Segments as "k:text" / "i:text", joined by "|"; "FAIL" when parsing fails.
std::string Show(std::string_view path) {
    std::vector<PathSegment> segments;
    if (!ParseNodePath(path, segments)) return "FAIL";
    std::string out;
    for (const auto& s : segments) {
        if (!out.empty()) out += '|';
        out += s.kind == PathSegment::Key ? "k:" : "i:";
        out += s.text;
    }
    return out;
}
} // namespace

TEST(NodePath, ParsesSegments) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"//a", "k:a"},
        {"//a.b\\.c[2].[1]", "k:a|k:b.c|i:2|i:1"},
        {"//a..b", "k:a|k:b"},
        {"//.a.b.", "k:a|k:b"},
        {"//[1][2]", "i:1|i:2"},
        {"//[1].[2]", "i:1|i:2"},
        {"//a\\.b", "k:a.b"},
        {"//x\\\\y", "k:x\\y"},
        {"//[]", "i:"},
        {"//a[", "k:a"},
        {"//[3", "i:3"},
        {"//", "FAIL"},
        {"//...", "FAIL"},
        {"//a\\", "k:a"}, // a lone backslash at the end ends the path
        {"//\\", "FAIL"},
        {"//中文.名字", "k:中文|k:名字"},
        {"////odd", "k://odd"},
        {"a.b", "k:a.b"}, // no "//": one literal key
        {"", "k:"},
        {"/a", "k:/a"},
        {"//a]b", "k:a|k:b"},
    };
    for (const auto& c : cases) EXPECT_EQ(Show(c.path), c.expected) << c.path;
}

TEST(NodePath, EscapedKeysComeBackExactly) {
    const char* keys[] = {"a.b", "C:\\x.txt", "", "\\", "..", "中.文", "[1]", "a\\.b", "c[1]", "]", "x]y[", "[]"};
    for (const char* key : keys) {
        for (const std::string& path : {"//" + EscapeKeyName(key) + ".tail", "//head." + EscapeKeyName(key) + "[2]"}) {
            std::vector<PathSegment> segments;
            ASSERT_TRUE(ParseNodePath(path, segments)) << path;
            const bool inside = path.starts_with("//head.");
            ASSERT_EQ(segments.size(), inside ? 3u : 2u) << path;
            const PathSegment& keySegment = segments[inside ? 1 : 0];
            EXPECT_EQ(keySegment.kind, PathSegment::Key) << path;
            EXPECT_EQ(keySegment.text, key) << path;
        }
    }
    EXPECT_EQ(EscapeKeyName("a.b\\c"), "a\\.b\\\\c");
    EXPECT_EQ(EscapeKeyName("C:\\x.txt"), "C:\\\\x\\.txt");
    EXPECT_EQ(EscapeKeyName("[x]/y"), "\\[x\\]/y");
    EXPECT_EQ(EscapeKeyName(""), "]");
}

TEST(NodePath, SegmentPositions) {
    EXPECT_EQ(SegmentPosition("1"), 1);
    EXPECT_EQ(SegmentPosition("01"), 1);
    EXPECT_EQ(SegmentPosition("1.9"), 1);
    EXPECT_EQ(SegmentPosition("x"), 0);
    EXPECT_EQ(SegmentPosition("-1"), 0);
    EXPECT_EQ(SegmentPosition(""), 0);
    EXPECT_EQ(SegmentPosition("99999999999999999999999"), INT64_MAX);
}
