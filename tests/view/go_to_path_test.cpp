// Go to: typed NodePaths resolved to tree items, and the failures reported.
#include "view/GoToPath.h"

#include "ViewDocuments.h"
#include "view/BuildNodePath.h"
#include "view/NodePanel.h"

#include <gtest/gtest.h>

using namespace vivu;
using vivu::test::LoadModel;

namespace {

// Pre-order items of kObject:
//  0 root, 1 a, 2 b.c, 3 [1] 10, 4 [2], 5 [1] 20, 6 [2] 30, 7 x\y.z, 8 k[1], 9 //odd, 10 a.b,
// 11 中文, 12 键, 13 list, 14 [1], 15 [1] 1, 16 [2] 2, 17 [2], 18 [1] 3, 19 [2] 4, 20 k, 21 [1] 5
constexpr const char* kObject = R"({"a":{"b.c":[10,[20,30]]},"x\\y.z":1,"k[1]":2,"//odd":3,"a.b":4,)"
                                R"("中文":{"键":5},"list":[[1,2],[3,4]],"k":[5]})";

constexpr int kNotFound = -2;
constexpr int kUnparsable = -3;
constexpr int kNothing = -4;

int Resolve(ResultTreeModel& tree, std::string_view path) {
    const GoToResult result = GoToPath(tree, path);
    switch (result.outcome) {
    case GoToResult::kFound:
        EXPECT_EQ(result.parent, tree.Record(result.item).parent) << path;
        EXPECT_TRUE(result.message.empty());
        return result.item;
    case GoToResult::kNotFound:
        EXPECT_EQ(result.message, "无法跳转到指定的路径！");
        EXPECT_EQ(result.title, "无法跳转");
        return kNotFound;
    case GoToResult::kUnparsable:
        EXPECT_EQ(result.message, "无法解析的路径格式");
        EXPECT_EQ(result.title, "无法跳转");
        return kUnparsable;
    case GoToResult::kEmptyPath:
        EXPECT_TRUE(result.message.empty());
        return kNothing;
    }
    return kNothing;
}

} // namespace

TEST(GoToPath, ResolvesTypedPaths) {
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(kObject), false);
    const struct {
        const char* path;
        int item;
    } cases[] = {
        {"//a", 1},
        {"//a.b\\.c", 2},
        {"//a.b\\.c[2].[1]", 5},
        {"//a.b\\.c[2][1]", 5},
        {"//a..b\\.c.[2].[2].", 6},
        {"//x\\\\y\\.z", 7},
        {"x\\y.z", 7}, // no "//": one literal key of the root
        {"a.b", 10},
        {"////odd", 9},
        {"//odd", kNotFound},
        {"//中文.键", 12},
        {"//list[1][2]", 16},
        {"//list[1].[2]", 16},
        {"//list.[2].[1]", 18},
        {"//list[01]", 14},
        {"//list[1\\.9]", 14},
        {"//list[1.9]", kNotFound}, // "." ends the index: [1] then the key "9"
        {"//list[0]", kNotFound},
        {"//list[-1]", kNotFound},
        {"//list[x]", kNotFound},
        {"//list[]", kNotFound},
        {"//list[3]", kNotFound},
        {"//list[2", 17},
        {"//list[", 13},
        // A bracket in a key is read as a segment boundary: "k" then index 1.
        {"//k[1]", 21},
        {"//k\\[1\\]", 8},               // escaped, the brackets are the key's own
        {"//a.b\\.c[1].[1]", kNotFound}, // 10 has no children
        {"//a\\", 1},                    // a lone backslash at the end ends the path
        {"//nowhere", kNotFound},
        {"//a.nowhere", kNotFound},
        {"//[1]", kNotFound}, // an index on a key-value table
        {"//", kUnparsable},
        {"//...", kUnparsable},
        {"", kNothing},
    };
    for (const auto& c : cases) EXPECT_EQ(Resolve(tree, c.path), c.item) << c.path;
}

TEST(GoToPath, KeysOnAListDocumentAreNotFound) {
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(R"([{"a":1},[2]])"));
    const struct {
        const char* path;
        int item;
    } cases[] = {{"//a", kNotFound}, {"a", kNotFound}, {"//[1].a", 2}, {"//[2].[1]", 4}, {"//[1][1]", kNotFound}};
    for (const auto& c : cases) EXPECT_EQ(Resolve(tree, c.path), c.item) << c.path;
}

TEST(GoToPath, EveryBuiltPathLeadsBackToItsItem) {
    // Keys with "\", ".", brackets, or nothing at all come back exactly.
    const char* documents[] = {
        R"({"a.b":{"c\\d":[{"e.":{"\\":1}},[2,[3]]],"..":"x"},"中\\文.":[null],"\\.":{".\\":0}})",
        R"([[1,[2,{"x.y":[3]}]],{"\\\\":{"z":true}}])",
        R"({"c[1]":5,"c":[7],"d[2]":9,"":{"":1},"a":{"":2,"b":3,"]":[{"[":4}]},"[]":[[]]})",
    };
    for (const char* json : documents) {
        ResultTreeModel tree;
        tree.Rebuild(LoadModel(json));
        ASSERT_GT(tree.ItemCount(), 10) << json;
        for (int32_t item = 1; item < tree.ItemCount(); ++item) {
            const std::string path = BuildNodePath(tree, item);
            EXPECT_EQ(Resolve(tree, path), item) << path;
        }
    }
}

TEST(GoToPath, UnknownKeysJoinTheRegistry) {
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(R"({"a":{"b":1}})"));
    EXPECT_EQ(tree.Keys().Count(), 2);
    EXPECT_EQ(Resolve(tree, "//a.c"), kNotFound);
    EXPECT_EQ(tree.Keys().Count(), 3);
    EXPECT_EQ(*tree.Keys().KeyText(3), "c");
    EXPECT_EQ(Resolve(tree, "//a.c"), kNotFound); // no second number for the same key
    EXPECT_EQ(tree.Keys().Count(), 3);
}

TEST(GoToPath, ElementsBeyondTheCodeRangeAreThemselves) {
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(R"({"a":1})"));
    EXPECT_EQ(Resolve(tree, "//[10000001]"), kNotFound);
    EXPECT_EQ(Resolve(tree, "//[99999999999999999999999]"), kNotFound);

    // An ItemCode holds positions below 10,000,000; 80,000,000 + 10,000,001 is the code of key number 1.
    std::string json = R"([{"a":1})";
    for (int i = 2; i <= 10'000'000; ++i) json += ",0";
    json += R"(,"last"])";
    const JsonModel model = LoadModel(json);
    tree.Rebuild(model, false);
    const int32_t last = tree.ItemCount() - 1; // element 10,000,001
    EXPECT_EQ(BuildNodePath(tree, last), "//[10000001]");
    EXPECT_EQ(PreOrderPaths(tree).PathOf(last), "//[10000001]");
    EXPECT_EQ(tree.Label(last), "[10000001] \"last\"");
    EXPECT_EQ(Resolve(tree, "//[10000001]"), last);
    CurrentNode current;
    const auto panel = NodePanel(tree, model, last, current);
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->content, "last");
    EXPECT_EQ(panel->typeName, "文本型");
}

TEST(GoToPath, NoItemsMeansNotFound) {
    ResultTreeModel tree;
    EXPECT_EQ(Resolve(tree, "//a"), kNotFound);
}

TEST(GoToPath, DeepestItemsOfDeepNesting) {
    constexpr int kDepth = 100'000;
    for (const std::string& json : {test::DeepArrayJson(kDepth), test::DeepObjectJson(kDepth)}) {
        ResultTreeModel tree;
        tree.Rebuild(LoadModel(json), false);
        EXPECT_EQ(Resolve(tree, BuildNodePath(tree, kDepth - 1)), kDepth - 1);
    }
}

TEST(GoToPath, LastItemOfAMillionNodes) {
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(test::RecordsJson(125'000)), false);
    EXPECT_EQ(Resolve(tree, "//[125000].owner.ok"), 1'000'000);
    EXPECT_EQ(Resolve(tree, "//[125000].tags[2]"), 999'998);
    EXPECT_EQ(Resolve(tree, "//[125001]"), kNotFound);
}
