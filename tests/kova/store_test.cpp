// Tables and lists: getters and setters by key, position and path, sharing, list operations.
#include "kova/JList.h"
#include "kova/JMap.h"

#include <gtest/gtest.h>

using namespace kova;

namespace {
JMap Parse(const char* json) {
    JMap map;
    EXPECT_TRUE(map.FromJSON(json)) << json;
    return map;
}
} // namespace

TEST(Store, PathAddressingWithEscapes) {
    JMap map = Parse(R"({"a":{"b.c":[10,[20,30]]},"x\\y":{"k":"v"},"//odd":1,"[":2})");
    EXPECT_EQ(map.GetType("//a"), kTypeMap);
    EXPECT_EQ(map.GetType("//a.b\\.c"), kTypeList);
    EXPECT_EQ(map.GetInt("//a.b\\.c[1]"), 10);
    EXPECT_EQ(map.GetInt("//a.b\\.c[2].[1]"), 20);
    EXPECT_EQ(map.GetInt("//a.b\\.c[2][2]"), 30);
    EXPECT_EQ(map.GetString("//x\\\\y.k"), "v");
    EXPECT_EQ(map.GetType("//a.b\\.c[3]"), kTypeMissing);
    EXPECT_EQ(map.GetType("//a.b\\.c[0]"), kTypeMissing);
    EXPECT_EQ(map.GetType("//a[1]"), kTypeMissing) << "a table has no positions";
    EXPECT_EQ(map.GetType("//a.b.c"), kTypeMissing);
    EXPECT_EQ(map.GetType("//"), kTypeMissing);
    EXPECT_EQ(map.GetType("a"), kTypeMap) << "a plain key";
    EXPECT_EQ(map.GetType("a.b"), kTypeMissing) << "a plain key is never split";
    EXPECT_EQ(map.GetType("["), kTypeInt);

    JList list;
    ASSERT_TRUE(list.FromJSON(R"([{"x":1},[5,6]])"));
    EXPECT_EQ(list.GetInt("//[1].x"), 1);
    EXPECT_EQ(list.GetInt("//[2].[2]"), 6);
    EXPECT_EQ(list.GetType("//x"), kTypeMissing) << "a list has no keys";
    EXPECT_EQ(list.GetType(3), kTypeMissing);
}

TEST(Store, GetMapAndGetListFillOrEmptyTheReceiver) {
    JMap map = Parse(R"({"o":{"k":1},"l":[1,2,3],"s":"t"})");
    JMap sub;
    JList items;
    ASSERT_TRUE(map.GetMap("o", sub));
    EXPECT_EQ(sub.GetInt("k"), 1);
    ASSERT_TRUE(map.GetList("//l", items));
    EXPECT_EQ(items.Count(), 3);
    EXPECT_FALSE(map.GetMap("l", sub));
    EXPECT_EQ(sub.Count(), 0);
    EXPECT_FALSE(map.GetList("s", items));
    EXPECT_EQ(items.Count(), 0);
    EXPECT_FALSE(map.GetList("missing", items));

    // A receiver that is also the source walks down into itself, in a document and in the program's storage.
    JMap walk = Parse(R"({"a":{"b":{"c":[[1,[2,3]]]}}})");
    ASSERT_TRUE(walk.GetMap("a", walk));
    ASSERT_TRUE(walk.Setter("//b.d", Value::Integer(4)));
    ASSERT_TRUE(walk.GetMap("//b", walk));
    EXPECT_EQ(walk.ToJSON(false), R"({"c":[[1,[2,3]]],"d":4})");
    ASSERT_TRUE(walk.GetList("c", items));
    ASSERT_TRUE(items.GetList(1, items));
    items.Appender(Value::Integer(5));
    ASSERT_TRUE(items.GetList("//[2]", items));
    EXPECT_EQ(items.ToJSON(false), "[2,3]");

    // A moved-from table or list is empty and usable.
    JMap moved = std::move(map);
    JList movedItems = std::move(items);
    EXPECT_EQ(moved.GetString("s"), "t");
    EXPECT_TRUE(map.GetKeys().empty());
    EXPECT_EQ(map.GetString("s"), "");
    EXPECT_EQ(items.GetString(1), "");
    EXPECT_EQ(map.ToJSON(false), "{}");
    ASSERT_TRUE(map.SetString("s", "u"));
    items.AppendString("v");
    EXPECT_EQ(map.ToJSON(false) + items.ToJSON(false), R"({"s":"u"}["v"])");
    EXPECT_EQ(movedItems.Count(), 2);
}

TEST(Store, CopiesAreIndependent) {
    JMap map = Parse(R"({"o":{"k":1},"l":[1]})");
    JMap sub;
    ASSERT_TRUE(map.GetMap("o", sub));
    sub.Setter("k", Value::Integer(2));
    EXPECT_EQ(map.GetInt("//o.k"), 1) << "writing the receiver leaves the document alone";
    JMap clone = map.BaseClone();
    ASSERT_TRUE(map.Setter("//o.k", Value::Integer(3)));
    EXPECT_EQ(clone.GetInt("//o.k"), 1) << "writing the document leaves the clone alone";
    EXPECT_EQ(sub.GetInt("k"), 2);
    JList list;
    ASSERT_TRUE(map.GetList("l", list));
    map.Clear();
    EXPECT_EQ(list.Count(), 1) << "clearing the document leaves the receiver alone";
    EXPECT_EQ(clone.ToJSON(false), R"({"o":{"k":1},"l":[1]})");
}

TEST(Store, SettingByPathCreatesEnclosingTables) {
    JMap settings;
    ASSERT_TRUE(settings.Setter("//Form.Status", Value::Integer(3)));
    ASSERT_TRUE(settings.SetList("//Form.Position", CreateStoreList({Value::Integer(10), Value::Integer(20),
                                                                     Value::Integer(800), Value::Integer(600)})));
    ASSERT_TRUE(settings.SetString("//Source.Web", "http://127.0.0.1/"));
    ASSERT_TRUE(settings.Setter("//ExpandAll", Value::Boolean(true)));
    EXPECT_EQ(
        settings.ToJSON(false, false, kKeyOrderAscending),
        R"({"ExpandAll":true,"Form":{"Position":[10,20,800,600],"Status":3},"Source":{"Web":"http://127.0.0.1/"}})");
    JList position;
    ASSERT_TRUE(settings.GetList("//Form.Position", position));
    EXPECT_EQ(position.GetInt(3), 800);

    // a value of another kind in the way is replaced by the table the path needs
    ASSERT_TRUE(settings.SetString("Form", "broken"));
    ASSERT_TRUE(settings.Setter("//Form.Status", Value::Integer(0)));
    EXPECT_EQ(settings.GetInt("//Form.Status"), 0);

    // positions: existing ones are replaced, one past the end appends, others fail
    ASSERT_TRUE(settings.SetString("//L[1]", "first"));
    ASSERT_TRUE(settings.SetString("//L[2]", "second"));
    ASSERT_TRUE(settings.SetString("//L[1]", "FIRST"));
    EXPECT_FALSE(settings.SetString("//L[5]", "gap"));
    EXPECT_EQ(settings.ToJSON(false, false, kKeyOrderNone),
              R"({"Form":{"Status":0},"Source":{"Web":"http://127.0.0.1/"},"ExpandAll":true,"L":["FIRST","second"]})");
    EXPECT_FALSE(settings.SetString("//", "x"));
    JList list;
    EXPECT_FALSE(list.SetString("//k", "x")) << "a list has no keys";
}

TEST(Store, LookupInAMillionMembersIsIndexed) {
    std::string json = "{";
    for (int i = 0; i < 1000000; ++i) json += (i ? ",\"" : "\"") + std::to_string(i) + "\":" + std::to_string(i);
    json += "}";
    JMap map;
    ASSERT_TRUE(map.FromJSON(json));
    ASSERT_EQ(map.Count(), 1000000);
    int64_t sum = 0;
    for (int i = 0; i < 1000000; i += 1) sum += map.GetInt(std::to_string(i));
    EXPECT_EQ(sum, 499999500000LL);
    ASSERT_TRUE(map.Setter("999999", Value::Text("last")));
    EXPECT_EQ(map.GetKeys().back(), "999999");
    EXPECT_EQ(map.GetString("999999"), "last");
}

TEST(Store, ListOperations) {
    JList list;
    list.AppendString("b");
    list.Appender(Value::Integer(258));
    ASSERT_TRUE(list.Insertter(1, Value::Text("a")));
    ASSERT_TRUE(list.Insertter(4, Value::Boolean(true)));
    EXPECT_FALSE(list.Insertter(6, Value::Text("gap")));
    EXPECT_FALSE(list.Insertter(0, Value::Text("gap")));
    list.AppendBin(std::string("\x01\x00", 2));
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.JoinString(","), std::string("a,b,258,真,\x01\x00", 14));
    EXPECT_EQ(list.JoinBinary(), std::string("ab\x02\x01\x00\x00\x01\x00\x00\x00\x01\x00", 12));
    EXPECT_EQ(list.GetBin(5), std::string("\x01\x00", 2));
    EXPECT_EQ(list.GetType(5), kTypeBytes);
    EXPECT_EQ(list.GetBin(3), "");
    ASSERT_TRUE(list.SetString(2, "B"));
    EXPECT_FALSE(list.SetString(6, "x"));
    EXPECT_EQ(list.GetString(2), "B");
    JList inner = CreateStoreList({Value::Integer(1)});
    ASSERT_TRUE(list.SetList(1, inner));
    EXPECT_EQ(list.GetInt("//[1].[1]"), 1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ToJSON(false), "[]");
}

TEST(Store, DisplayTextOfValues) {
    JMap map = Parse(R"({"i":-12,"d":2.5,"big":1e-400,"o":{"a":[1]},"s":"文本"})");
    EXPECT_EQ(map.GetString("i"), "-12");
    EXPECT_EQ(map.GetString("d"), "2.5");
    EXPECT_EQ(map.GetString("big"), "1e-400");
    EXPECT_EQ(map.GetString("o"), R"({"a":[1]})");
    EXPECT_EQ(map.GetString("s"), "文本");
    EXPECT_EQ(map.GetString("missing"), "");
    EXPECT_EQ(map.GetInt("d"), 2);
    EXPECT_FALSE(map.Exists("missing"));
    EXPECT_TRUE(map.Exists("//o.a[1]"));
}
