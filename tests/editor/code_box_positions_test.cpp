// Byte offsets of UTF-8 text against rich edit character positions.
#include "editor/CodeBoxPositions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vivu;

namespace {

TEST(CodeBoxPositions, CountsLikeARichEditBox) {
    const struct {
        const char* name;
        std::string text;
        std::vector<size_t> positions; // one per byte, then the end
    } rows[] = {
        {"empty", "", {0}},
        {"ASCII", "ab", {0, 1, 2}},
        {"CR LF is one", "a\r\nb", {0, 1, 2, 2, 3}},
        {"lone CR and LF are one each", "\r\n\n\r", {0, 1, 1, 2, 3}},
        {"CR before CR LF", "\r\r\n", {0, 1, 2, 2}},
        {"Chinese", "中a", {0, 1, 1, 1, 2}},
        {"outside the BMP is two", "😀b", {0, 2, 2, 2, 2, 3}},
        {"invalid byte is one",
         "\xff"
         "a",
         {0, 1, 2}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CodeBoxPositions positions(row.text);
        std::vector<size_t> actual;
        for (size_t i = 0; i <= row.text.size(); ++i) actual.push_back(positions.At(i));
        EXPECT_EQ(actual, row.positions);
        EXPECT_EQ(positions.Total(), row.positions.back());
        EXPECT_EQ(positions.At(row.text.size() + 5), row.positions.back());
    }
}

} // namespace
