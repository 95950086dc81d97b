// NodePaths built from tree items: "//", escaped keys, "[n]" and the "." rules.
#include "view/BuildNodePath.h"

#include "ViewDocuments.h"
#include "view/ItemCode.h"

#include <gtest/gtest.h>

using namespace vivu;
using vivu::test::LoadModel;

TEST(BuildNodePath, PathsOfItems) {
    const struct {
        const char* json;
        int32_t item; // in pre-order, the root is 0
        const char* path;
    } cases[] = {
        {R"({"a": {"b.c": [10, [20, 30]]}})", 0, ""},
        {R"({"a": {"b.c": [10, [20, 30]]}})", 1, "//a"},
        {R"({"a": {"b.c": [10, [20, 30]]}})", 2, "//a.b\\.c"},
        {R"({"a": {"b.c": [10, [20, 30]]}})", 3, "//a.b\\.c[1]"},
        {R"({"a": {"b.c": [10, [20, 30]]}})", 5, "//a.b\\.c[2].[1]"},
        {R"([{"x": 1}, [5, 6]])", 0, ""},
        {R"([{"x": 1}, [5, 6]])", 2, "//[1].x"},
        {R"([{"x": 1}, [5, 6]])", 4, "//[2].[1]"},
        {R"([{"x": 1}, [5, 6]])", 5, "//[2].[2]"},
        {R"({"C:\\x.txt": 1})", 1, "//C:\\\\x\\.txt"},
        {R"({"//odd": 1})", 1, "////odd"},
        {R"({"k[1]": 1})", 1, "//k\\[1\\]"},
        {R"({"": {"": 1}})", 2, "//].]"},
        {R"({"a": {"": [2]}})", 3, "//a.][1]"},
        {R"({"中.文": {"键": [true]}})", 3, "//中\\.文.键[1]"},
        {R"([[[[1]]]])", 4, "//[1].[1].[1].[1]"},
        {R"({"a": 1})", -1, ""},
        {R"({"a": 1})", 2, ""},
    };
    for (const auto& c : cases) {
        ResultTreeModel tree;
        tree.Rebuild(LoadModel(c.json));
        EXPECT_EQ(BuildNodePath(tree, c.item), c.path) << c.json << " item " << c.item;
    }
}

TEST(BuildNodePath, SegmentTextAfterEachKindOfSegment) {
    KeyRegistry keys;
    const int32_t key = keys.RegisterKey("a.b");
    const struct {
        int32_t code;
        SegmentKind previous;
        const char* text;
        SegmentKind kind;
    } cases[] = {
        {IndexCode(3), kSegmentNone, "[3]", kSegmentIndex},
        {IndexCode(3), kSegmentKey, "[3]", kSegmentIndex},
        {IndexCode(3), kSegmentIndex, ".[3]", kSegmentIndex},
        {key, kSegmentNone, "a\\.b", kSegmentKey},
        {key, kSegmentKey, ".a\\.b", kSegmentKey},
        {key, kSegmentIndex, ".a\\.b", kSegmentKey},
        {kRootItemCode, kSegmentIndex, "", kSegmentNone},
        {12345, kSegmentKey, "", kSegmentNone},
    };
    for (const auto& c : cases) {
        std::string text;
        EXPECT_EQ(AppendSegmentText(text, c.code, c.previous, keys), c.kind) << c.code;
        EXPECT_EQ(text, c.text) << c.code;
    }
}

TEST(BuildNodePath, DeepestItemOfDeepNesting) {
    constexpr int kDepth = 100'000;
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(test::DeepArrayJson(kDepth)), false);
    const std::string path = BuildNodePath(tree, kDepth - 1);
    std::string expected = "//[1]";
    for (int i = 2; i < kDepth; ++i) expected += ".[1]";
    EXPECT_EQ(path, expected);
}

TEST(BuildNodePath, PreOrderPathsAreThePathsOfEachItem) {
    const char* documents[] = {
        R"({"a": {"b.c": [10, [20, 30]]}, "d": [[{"e\\f": null}], {}], "g": 1})",
        R"([{"x": 1}, [5, [6, {"": {"": [7]}}]], "t"])",
        R"({"": {"": 1}, "中.文": {"键": [true, [[]]]}, "//odd": {"k[1]": 2}})",
    };
    for (const char* json : documents) {
        ResultTreeModel tree;
        tree.Rebuild(LoadModel(json));
        ASSERT_GT(tree.ItemCount(), 8) << json;
        PreOrderPaths inOrder(tree);
        for (int32_t i = 0; i < tree.ItemCount(); ++i)
            EXPECT_EQ(inOrder.PathOf(i), BuildNodePath(tree, i)) << json << " item " << i;
        // Out of order: backwards, and jumping between subtrees, each item the first asked of a new model.
        ResultTreeModel fresh;
        fresh.Rebuild(LoadModel(json));
        PreOrderPaths scattered(tree);
        for (int32_t i = tree.ItemCount() - 1; i >= 0; i -= 3)
            EXPECT_EQ(scattered.PathOf(i), BuildNodePath(fresh, i)) << json << " item " << i;
        EXPECT_EQ(scattered.PathOf(tree.ItemCount()), "") << "no such item";
        EXPECT_EQ(scattered.PathOf(1), BuildNodePath(tree, 1)) << json;
    }
}
