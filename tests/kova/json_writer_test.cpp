// Writing JSON: the exact pretty and compact layouts, escaping, options, round trips.
#include "kova/File.h"
#include "kova/JList.h"
#include "kova/JMap.h"

#include <gtest/gtest.h>

using namespace kova;

TEST(JsonWriter, PrettyAndCompactLayouts) {
    JMap map;
    ASSERT_TRUE(map.FromJSON(R"({"a": 1, "b": [2, 3]})"));
    EXPECT_EQ(map.ToJSON(true), "{\r\n    \"a\": 1,\r\n    \"b\": [\r\n        2,\r\n        3\r\n    ]\r\n}");
    EXPECT_EQ(map.ToJSON(false), R"({"a":1,"b":[2,3]})");
}

TEST(JsonWriter, NestedAndEmptyContainers) {
    JList list;
    ASSERT_TRUE(list.FromJSON(R"([{}, [], {"x": {"y": []}}, [[1]], null, true, "s"])"));
    EXPECT_EQ(list.ToJSON(true), "[\r\n"
                                 "    {},\r\n"
                                 "    [],\r\n"
                                 "    {\r\n"
                                 "        \"x\": {\r\n"
                                 "            \"y\": []\r\n"
                                 "        }\r\n"
                                 "    },\r\n"
                                 "    [\r\n"
                                 "        [\r\n"
                                 "            1\r\n"
                                 "        ]\r\n"
                                 "    ],\r\n"
                                 "    null,\r\n"
                                 "    true,\r\n"
                                 "    \"s\"\r\n"
                                 "]");
    JMap empty;
    EXPECT_EQ(empty.ToJSON(true), "{}");
    EXPECT_EQ(JList().ToJSON(true), "[]");
}

TEST(JsonWriter, FormatIsStableAndCompressRestoresIt) {
    JMap map;
    ASSERT_TRUE(map.FromJSON(R"({"名字":"值","list":[1,{"b":false}],"n":-1.25e10})"));
    const std::string pretty = map.ToJSON(true);
    JMap again;
    ASSERT_TRUE(again.FromJSON(pretty));
    EXPECT_EQ(again.ToJSON(true), pretty);
    ASSERT_TRUE(again.FromJSON(map.ToJSON(false)));
    EXPECT_EQ(again.ToJSON(true), pretty);
}

TEST(JsonWriter, StringEscaping) {
    JMap map;
    map.SetString("q", "say \"hi\" \\ / \x01\x1f\t\r\n\b\f");
    map.SetString("中", "文😀");
    EXPECT_EQ(map.ToJSON(false), "{\"q\":\"say \\\"hi\\\" \\\\ / \\u0001\\u001f\\t\\r\\n\\b\\f\",\"中\":\"文😀\"}");
    EXPECT_EQ(map.ToJSON(false, true), "{\"q\":\"say \\\"hi\\\" \\\\ / \\u0001\\u001f\\t\\r\\n\\b\\f\","
                                       "\"\\u4e2d\":\"\\u6587\\ud83d\\ude00\"}");
    // Whatever is stored, the output reads back.
    map.SetString("bad", "\xFF\xC3(");
    JMap back;
    ASSERT_TRUE(back.FromJSON(map.ToJSON(false)));
    EXPECT_EQ(back.GetString("bad"), "\xEF\xBF\xBD\xEF\xBF\xBD(");
    ASSERT_TRUE(back.FromJSON(map.ToJSON(true, true)));
    EXPECT_EQ(back.GetString("中"), "文😀");
}

TEST(JsonWriter, KeyOrderAndDecimals) {
    JMap map;
    ASSERT_TRUE(map.FromJSON(R"({"b":{"z":1,"a":2},"a":0.125,"c":[{"y":1,"x":2}]})"));
    EXPECT_EQ(map.ToJSON(false, false, kKeyOrderAscending), R"({"a":0.125,"b":{"a":2,"z":1},"c":[{"x":2,"y":1}]})");
    EXPECT_EQ(map.ToJSON(false, false, kKeyOrderDescending), R"({"c":[{"y":1,"x":2}],"b":{"z":1,"a":2},"a":0.125})");
    EXPECT_EQ(map.ToJSON(false, false, kKeyOrderNone, 2), R"({"b":{"z":1,"a":2},"a":0.12,"c":[{"y":1,"x":2}]})");
    EXPECT_EQ(map.GetKeys(kKeyOrderAscending), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(JsonWriter, NonFiniteAndBytes) {
    JList list;
    list.Appender(Value::Real(1.0 / 0.0));
    list.AppendBin(std::string("\x00\xFF\x10", 3));
    list.Appender(Value::Real(3));
    EXPECT_EQ(list.ToJSON(false), R"([null,"AP8Q",3.0])");
}

// The shared benchmark documents live beside the checkout, not in it; a checkout without them
// says so rather than failing.
bool HaveBenchDocuments() {
    return FileExists(std::string(KOVA_BENCH_DATA) + "/canada.json");
}
constexpr char kNoBenchDocuments[] = "no benchmark documents at " KOVA_BENCH_DATA;

class BenchDocuments : public ::testing::TestWithParam<const char*> {};

TEST_P(BenchDocuments, RoundTripIsExact) {
    if (!HaveBenchDocuments()) GTEST_SKIP() << kNoBenchDocuments;
    std::string text;
    ASSERT_TRUE(ReadFileBytes(std::string(KOVA_BENCH_DATA) + "/" + GetParam(), text)) << GetParam();
    JMap map;
    ASSERT_TRUE(map.FromJSON(text));
    const std::string compact = map.ToJSON(false);
    const std::string pretty = map.ToJSON(true);
    JMap fromCompact, fromPretty;
    ASSERT_TRUE(fromCompact.FromJSON(compact));
    ASSERT_TRUE(fromPretty.FromJSON(pretty));
    EXPECT_EQ(fromCompact.ToJSON(false), compact);
    EXPECT_EQ(fromPretty.ToJSON(true), pretty);
    EXPECT_EQ(fromPretty.ToJSON(false), compact);
    EXPECT_EQ(fromCompact.GetKeys(), map.GetKeys());
}

INSTANTIATE_TEST_SUITE_P(SharedData, BenchDocuments,
                         ::testing::Values("canada.json", "citm_catalog.json", "twitter.json"));

TEST(JsonWriter, CanadaNumbersKeepTheirDigits) {
    if (!HaveBenchDocuments()) GTEST_SKIP() << kNoBenchDocuments;
    std::string text;
    ASSERT_TRUE(ReadFileBytes(std::string(KOVA_BENCH_DATA) + "/canada.json", text));
    JMap map;
    ASSERT_TRUE(map.FromJSON(text));
    // Every number token of the source appears in the compact output in the same order.
    auto numbers = [](const std::string& s) {
        std::vector<std::string> out;
        for (size_t i = 0; i < s.size();) {
            if (s[i] == '-' || (s[i] >= '0' && s[i] <= '9')) {
                size_t j = i;
                while (j < s.size() && std::string_view("0123456789+-.eE").find(s[j]) != std::string_view::npos) ++j;
                out.push_back(s.substr(i, j - i));
                i = j;
            } else if (s[i] == '"') {
                i = s.find('"', i + 1) + 1;
            } else {
                ++i;
            }
        }
        return out;
    };
    auto source = numbers(text);
    auto written = numbers(map.ToJSON(false));
    EXPECT_EQ(written, source);
}

TEST(JsonWriter, TextLongerThanTheLimitIsRefused) {
    JList list;
    ASSERT_TRUE(list.FromJSON(R"([1,{"a":"bc"},[]])"));
    const std::string compact = list.ToJSON(false), pretty = list.ToJSON(true);
    EXPECT_EQ(list.ToJSON(false, false, 0, 0, compact.size()), compact) << "exactly at the limit";
    EXPECT_EQ(list.ToJSON(false, false, 0, 0, compact.size() - 1), "");
    EXPECT_EQ(list.ToJSON(true, false, 0, 0, pretty.size()), pretty);
    EXPECT_EQ(list.ToJSON(true, false, 0, 0, pretty.size() - 1), "");

    // 100,000 levels would take some 40 GB pretty; the writer must refuse without trying.
    const int depth = 100000;
    JList deep;
    ASSERT_TRUE(deep.FromJSON(std::string(depth, '[') + std::string(depth, ']')));
    EXPECT_EQ(deep.ToJSON(true, false, 0, 0, 0x7FFFFFFF), "");
    EXPECT_EQ(deep.ToJSON(false, false, 0, 0, 0x7FFFFFFF).size(), 2u * depth) << "compact text stays small";
}
