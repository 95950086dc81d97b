// Reading JSON into tables and lists: kinds, numbers, strictness, depth.
#include "kova/JList.h"
#include "kova/JMap.h"
#include "kova/JsonText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kova;

TEST(JsonReader, RootKindMustMatchTheCollection) {
    JMap map;
    JList list;
    EXPECT_TRUE(map.FromJSON(R"({"a":1})"));
    EXPECT_FALSE(map.FromJSON("[1,2]"));
    EXPECT_TRUE(list.FromJSON("[1,2]"));
    EXPECT_FALSE(list.FromJSON(R"({"a":1})"));
    EXPECT_FALSE(map.FromJSON("\"text\""));
    EXPECT_FALSE(list.FromJSON("42"));
    EXPECT_EQ(map.Count(), 1);
    EXPECT_EQ(list.Count(), 2);
}

TEST(JsonReader, FailureKeepsThePreviousContent) {
    JMap map;
    ASSERT_TRUE(map.FromJSON(R"({"keep":"me"})"));
    const char* invalid[] = {
        "",
        "   ",
        "{",
        R"({"a":})",
        R"({"a" 1})",
        R"({"a":1,})",
        R"({'a':1})",
        R"({"a":1} x)",
        R"({"a":1}{})",
        R"({"a":tru})",
        R"({"a":01})",
        R"({"a":1.})",
        R"({"a":.5})",
        R"({"a":+1})",
        R"({"a":NaN})",
        R"({"a":Infinity})",
        R"({"a":"\x"})",
        R"({"a":"\u12"})",
        R"({"a":"\)",
        "{\"a\":\"tab\there\"}",
        "{\"a\":\"line\nbreak\"}",
        R"({"a":1 /* comment */})",
        "{\"a\":\"\xC3\x28\"}",     // invalid UTF-8
        "{\"a\":\"\xED\xA0\x80\"}", // encoded surrogate
        "\xEF\xBB\xBF{}",           // a byte-order mark is not JSON
        R"({"a":[1,2})",
        R"({"a":1]})",
    };
    for (const char* text : invalid) {
        const std::string json = text;
        EXPECT_FALSE(map.FromJSON(json)) << json;
        EXPECT_EQ(map.GetString("keep"), "me") << json;
    }
    EXPECT_FALSE(map.FromJSON(std::string("{\"a\":1}\0", 8))) << "text after a zero byte counts";
}

TEST(JsonReader, ErrorOffsetPointsAtTheFault) {
    JMap map;
    EXPECT_FALSE(map.FromJSON(R"({"a":1,"b":?})"));
    EXPECT_EQ(map.LastErrorOffset(), 11u);
}

TEST(JsonReader, ScalarTypes) {
    JMap map;
    ASSERT_TRUE(map.FromJSON(R"({"n":null,"t":true,"f":false,"s":"x","i":7,"l":5000000000,"d":1.5,"o":{},"a":[]})"));
    EXPECT_EQ(map.GetType("n"), kTypeNull);
    EXPECT_EQ(map.GetType("t"), kTypeBool);
    EXPECT_EQ(map.GetType("s"), kTypeText);
    EXPECT_EQ(map.GetType("i"), kTypeInt);
    EXPECT_EQ(map.GetType("l"), kTypeLong);
    EXPECT_EQ(map.GetType("d"), kTypeDouble);
    EXPECT_EQ(map.GetType("o"), kTypeMap);
    EXPECT_EQ(map.GetType("a"), kTypeList);
    EXPECT_EQ(map.GetType("missing"), kTypeMissing);
    EXPECT_TRUE(map.GetBool("t"));
    EXPECT_FALSE(map.GetBool("f"));
    EXPECT_EQ(map.GetString("t"), "真");
    EXPECT_EQ(map.GetString("f"), "假");
    EXPECT_EQ(map.GetString("n"), "");
    EXPECT_EQ(map.GetInt("l"), 5000000000LL);
}

TEST(JsonReader, IntegerRanges) {
    JList list;
    ASSERT_TRUE(list.FromJSON("[2147483647,-2147483648,2147483648,-2147483649,9223372036854775807,"
                              "-9223372036854775808,9223372036854775808,-0]"));
    EXPECT_EQ(list.GetType(1), kTypeInt);
    EXPECT_EQ(list.GetType(2), kTypeInt);
    EXPECT_EQ(list.GetType(3), kTypeLong);
    EXPECT_EQ(list.GetType(4), kTypeLong);
    EXPECT_EQ(list.GetType(5), kTypeLong);
    EXPECT_EQ(list.GetInt(6), INT64_MIN);
    EXPECT_EQ(list.GetType(7), kTypeDouble) << "beyond 64 bits";
    EXPECT_EQ(list.GetString(7), "9223372036854775808");
    EXPECT_EQ(list.GetType(8), kTypeInt);
    EXPECT_EQ(list.GetInt(8), 0);
}

TEST(JsonReader, NumbersKeepTheirDigits) {
    // A number read is written back with exactly its characters, whatever a double would make of it.
    const char* json = "[123456789012345678901234567890,3.141592653589793238462643383279,-65.613616999999977,"
                       "1e-400,0.1,2.5e-3,1E+2,1.0,-0.0,12345678901234567,1.7976931348623157e308,1e5,2e-5,-0,"
                       "1.50,0E0]";
    JList list;
    ASSERT_TRUE(list.FromJSON(json));
    EXPECT_EQ(list.ToJSON(false), json);
    EXPECT_EQ(list.GetType(4), kTypeDouble);
    EXPECT_EQ(list.GetInt(12), 100000);
    EXPECT_EQ(list.GetType(14), kTypeInt);
    EXPECT_EQ(list.GetString(15), "1.50");
    EXPECT_EQ(list.GetString(2), "3.141592653589793238462643383279");
    EXPECT_EQ(list.GetString(5), "0.1");
    // Beyond the range of a double the reader refuses the document rather than change the number.
    EXPECT_FALSE(list.FromJSON("[1e400]"));
    EXPECT_FALSE(list.FromJSON("[-1" + std::string(400, '0') + "]"));
    EXPECT_EQ(list.Count(), 16);
}

TEST(JsonReader, DuplicateKeysLastValueAtFirstPlace) {
    JMap map;
    ASSERT_TRUE(map.FromJSON(R"({"a":1,"b":2,"a":3})"));
    EXPECT_EQ(map.ToJSON(false), R"({"a":3,"b":2})");
    // also in a table large enough to be indexed
    std::string big = "{";
    for (int i = 0; i < 100; ++i) big += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
    big += "\"k5\":\"again\"}";
    ASSERT_TRUE(map.FromJSON(big));
    EXPECT_EQ(map.Count(), 100);
    EXPECT_EQ(map.GetString("k5"), "again");
    EXPECT_EQ(map.GetKeys()[5], "k5");
}

TEST(JsonReader, StringsAndEscapes) {
    JMap map;
    ASSERT_TRUE(
        map.FromJSON(R"({"e":"\"\\\/\b\f\n\r\t","u":"\u4e2d\u6587","p":"\ud83d\ude00","k\u0041":"","z":"a\u0000b"})"));
    EXPECT_EQ(map.GetString("e"), "\"\\/\b\f\n\r\t");
    EXPECT_EQ(map.GetString("u"), "中文");
    EXPECT_EQ(map.GetString("p"), "😀");
    EXPECT_TRUE(map.Exists("kA"));
    EXPECT_EQ(map.GetString("z"), std::string("a\0b", 3));
}

TEST(JsonReader, DeepNestingNeverOverflowsTheStack) {
    const int depth = 100000;
    std::string json(depth, '[');
    json += std::string(depth, ']');
    JList list;
    ASSERT_TRUE(list.FromJSON(json));
    std::string written = list.ToJSON(false);
    EXPECT_EQ(written, json);
    // The pretty text grows with the square of the depth; check it on a shallower document.
    JList shallower;
    ASSERT_TRUE(shallower.FromJSON(std::string(1000, '[') + std::string(1000, ']')));
    JList reread;
    ASSERT_TRUE(reread.FromJSON(shallower.ToJSON(true)));
    EXPECT_EQ(reread.ToJSON(false), std::string(1000, '[') + std::string(1000, ']'));
    JList copy = list.BaseClone();
    list.Clear(); // releasing a deep document must not recurse either
    EXPECT_EQ(copy.ToJSON(false).size(), json.size());

    std::string objects;
    for (int i = 0; i < depth; ++i) objects += "{\"a\":";
    objects += '1';
    objects.append(depth, '}');
    JMap map;
    ASSERT_TRUE(map.FromJSON(objects));
    EXPECT_EQ(map.ToJSON(false), objects);

    std::string unclosed(depth, '[');
    EXPECT_FALSE(list.FromJSON(unclosed));
}

TEST(JsonReader, GbkSource) {
    JMap map;
    ASSERT_TRUE(map.FromJSON("{\"\xD6\xD0\":\"\xCE\xC4\"}", "GBK")); // {"中":"文"}
    EXPECT_EQ(map.GetString("中"), "文");
}

TEST(JsonReader, LoneSurrogateEscapesAreRefused) {
    // A surrogate on its own is no character: as UTF-8 it could be neither shown nor written back.
    JMap map;
    ASSERT_TRUE(map.FromJSON(R"({"keep":"me"})"));
    const char* invalid[] = {
        R"({"a":"\udc00"})",       R"({"a":"x\uDFFFy"})", R"({"\udc00":1})",         R"({"a":"\ud800"})",
        R"({"a":"\ud800\u0041"})", R"({"a":"\ud800x"})",  R"({"a":"\udc00\ud800"})",
    };
    for (const char* json : invalid) {
        EXPECT_FALSE(map.FromJSON(json)) << json;
        EXPECT_EQ(map.GetString("keep"), "me") << json;
    }
    // The place is the escape's own in the text, whatever escapes of other lengths come before it.
    const struct {
        const char* json;
        size_t offset;
    } placed[] = {
        {R"(["\u4e2d\u6587\u4e2d\u6587\uDC00"])", 26},
        {R"({"a":"\n\n\n\n\udc00"})", 14},
        {R"({"\t\u00e9":"x\ud83d\ude00\/\"\\u\\\uDfFf"})", 35},
        {R"({"k":"\ud83d\ude00","\u0041\r":"\uDC01 \\udc02"})", 32},
    };
    for (const auto& row : placed) {
        EXPECT_FALSE(map.FromJSON(row.json)) << row.json;
        EXPECT_EQ(map.LastErrorOffset(), row.offset) << row.json;
    }
    ASSERT_TRUE(map.FromJSON(R"({"pair":"\ud800\udc00","near":"\ud7ff\ue000"})"));
    EXPECT_EQ(map.GetString("pair"), "\xF0\x90\x80\x80");
    EXPECT_EQ(map.GetString("near"), "\xED\x9F\xBF\xEE\x80\x80") << "the neighbours of the surrogates are characters";
}

TEST(JsonReader, OffsetsPointAtEachValueAndFollowARewrite) {
    JMap map;
    ASSERT_TRUE(map.FromJSON(" {\"a\": [1, \"x\\n\", null, true], \"b\" : {\"c\":-2.5e1}, \"d\": []}"));
    // Value at each path → its byte offset in the text read, then in the compact rewrite.
    const struct {
        const char* path;
        uint32_t read, rewritten;
    } rows[] = {{"//a", 7, 5},      {"//a[1]", 8, 6}, {"//a[2]", 11, 8}, {"//a[3]", 18, 14},
                {"//a[4]", 24, 19}, {"//b", 37, 29},  {"//b.c", 42, 34}, {"//d", 56, 46}};
    EXPECT_EQ(map.Root().Offset(), 1u);
    for (const auto& row : rows) EXPECT_EQ(map.Find(row.path).Offset(), row.read) << row.path;
    const std::string compact = map.RewriteJSON(false, 0, 0);
    EXPECT_EQ(compact, R"({"a":[1,"x\n",null,true],"b":{"c":-2.5e1},"d":[]})");
    EXPECT_EQ(map.Root().Offset(), 0u);
    for (const auto& row : rows) EXPECT_EQ(map.Find(row.path).Offset(), row.rewritten) << row.path;
    // Values the program sets have no place in any text.
    ASSERT_TRUE(map.Setter("//b.e", Value::Integer(1)));
    EXPECT_EQ(map.Find("//b.e").Offset(), Node::kNoOffset);
    EXPECT_EQ(map.Find("//b.c").Offset(), 34u) << "a written table's other members stay in the document";

    // A value set into a second place has each place's offsets; a copy keeps those of its own text.
    JMap twice, copy, a;
    ASSERT_TRUE(twice.FromJSON(R"({ "a" : { "x" : [ 1, 2 ] }, "b" : 0 })"));
    copy = twice.BaseClone();
    ASSERT_TRUE(twice.GetMap("a", a));
    ASSERT_TRUE(twice.Setter("b", a.AsValue()));
    const std::string written = twice.RewriteJSON(true, 0, 0);
    JMap fresh;
    ASSERT_TRUE(fresh.FromJSON(written));
    for (const char* path : {"//a", "//a.x", "//a.x[1]", "//a.x[2]", "//b", "//b.x", "//b.x[1]", "//b.x[2]"})
        EXPECT_EQ(twice.Find(path).Offset(), fresh.Find(path).Offset()) << path;
    EXPECT_EQ(copy.Find("//a").Offset(), 8u);
    EXPECT_EQ(copy.Find("//a.x[2]").Offset(), 21u);
    EXPECT_EQ(a.Find("x").Offset(), 16u);
}

TEST(JsonReader, ADocumentLivesAsLongAsAnythingReadsIt) {
    std::weak_ptr<const Document> document;
    JList tail;
    {
        JMap map;
        ASSERT_TRUE(map.FromJSON(R"({"deep":{"list":["a",{"k":"v"}]}})"));
        document = map.Root().DocumentOwner();
        ASSERT_TRUE(map.GetList("//deep.list", tail));
        ASSERT_TRUE(map.Setter("//deep.other", Value::Integer(1))); // copies two levels, shares the rest
        EXPECT_EQ(map.ToJSON(false), R"({"deep":{"list":["a",{"k":"v"}],"other":1}})");
    }
    ASSERT_FALSE(document.expired()) << "the list read from it still refers into it";
    EXPECT_EQ(tail.GetString("//[2].k"), "v");
    ASSERT_TRUE(tail.SetString("//[2].k", "w"));
    EXPECT_EQ(tail.ToJSON(false), R"(["a",{"k":"w"}])");
    tail.Clear();
    EXPECT_TRUE(document.expired()) << "released with the last reader";
}
