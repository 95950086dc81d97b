// The result tree's items: labels, images, states, records, pre-order and key numbering.
#include "view/ResultTreeModel.h"

#include "ViewDocuments.h"
#include "view/ItemCode.h"
#include "view/ItemLabel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vivu;
using vivu::test::LoadModel;

namespace {

constexpr uint8_t kBold = kStateBold;
constexpr uint8_t kOpen = kStateBold | kStateExpanded;

struct Item {
    std::string label;
    uint8_t image;
    uint8_t state;
    int32_t parent;
    int32_t depth;
    int32_t code;
    int32_t hasChildren;
};

std::vector<Item> Items(const ResultTreeModel& tree) {
    std::vector<Item> items;
    for (int32_t i = 0; i < tree.ItemCount(); ++i) {
        ItemRecord r;
        EXPECT_TRUE(tree.ReadItemRecord(i, r));
        items.push_back(
            {std::string(tree.Label(i)), tree.Image(i), tree.State(i), r.parent, r.depth, r.itemCode, r.hasChildren});
    }
    return items;
}

void ExpectItems(const std::vector<Item>& actual, const std::vector<Item>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        EXPECT_EQ(actual[i].label, expected[i].label);
        EXPECT_EQ(actual[i].image, expected[i].image);
        EXPECT_EQ(actual[i].state, expected[i].state);
        EXPECT_EQ(actual[i].parent, expected[i].parent);
        EXPECT_EQ(actual[i].depth, expected[i].depth);
        EXPECT_EQ(actual[i].code, expected[i].code);
        EXPECT_EQ(actual[i].hasChildren, expected[i].hasChildren);
    }
}

ResultTreeModel Built(std::string_view json, bool expandAll = true) {
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(json), expandAll);
    return tree;
}

constexpr int32_t Key(int32_t n) {
    return kKeyCodeBase + n;
}

} // namespace

TEST(ResultTreeModel, LabelsImagesStatesAndRecordsOfEveryValueType) {
    const auto tree = Built(R"({"s":"text","i":12,"l":12345678901,"d":1.5,"t":true,"f":false,"n":null,)"
                            R"("o":{"x":1},"a":[1,"two",{},[],null],"e":{},"中文":"值"})");
    ExpectItems(Items(tree), {
                                 {"{ 存取键值表 }", kImageObject, kOpen, -1, 0, 0, 1},
                                 {"s \"text\"", kImageValue, 0, 0, 1, Key(1), 0},
                                 {"i 12", kImageValue, 0, 0, 1, Key(2), 0},
                                 {"l 12345678901", kImageValue, 0, 0, 1, Key(3), 0},
                                 {"d 1.5", kImageValue, 0, 0, 1, Key(4), 0},
                                 {"t 真", kImageValue, 0, 0, 1, Key(5), 0},
                                 {"f 假", kImageValue, 0, 0, 1, Key(6), 0},
                                 {"n ", kImageValue, 0, 0, 1, Key(7), 0},
                                 {"o", kImageObject, kOpen, 0, 1, Key(8), 1},
                                 {"x 1", kImageValue, 0, 8, 2, Key(9), 0},
                                 {"a", kImageArray, kOpen, 0, 1, Key(10), 1},
                                 {"[1] 1", kImageValue, 0, 10, 2, IndexCode(1), 0},
                                 {"[2] \"two\"", kImageValue, 0, 10, 2, IndexCode(2), 0},
                                 {"[3] ", kImageObject, kOpen, 10, 2, IndexCode(3), 1},
                                 {"[4] ", kImageArray, kOpen, 10, 2, IndexCode(4), 1},
                                 {"[5] ", kImageValue, 0, 10, 2, IndexCode(5), 0},
                                 {"e", kImageObject, kOpen, 0, 1, Key(11), 1},
                                 {"中文 \"值\"", kImageValue, 0, 0, 1, Key(12), 0},
                             });
}

TEST(ResultTreeModel, ArrayDocumentsLabelElementsWithTrailingSpace) {
    const auto tree = Built(R"([{"k":[]},["in"],"t",-7])");
    ExpectItems(Items(tree), {
                                 {"[ 存取列表 ]", kImageArray, kOpen, -1, 0, 0, 1},
                                 {"[1] ", kImageObject, kOpen, 0, 1, IndexCode(1), 1},
                                 {"k", kImageArray, kOpen, 1, 2, Key(1), 1},
                                 {"[2] ", kImageArray, kOpen, 0, 1, IndexCode(2), 1},
                                 {"[1] \"in\"", kImageValue, 0, 3, 2, IndexCode(1), 0},
                                 {"[3] \"t\"", kImageValue, 0, 0, 1, IndexCode(3), 0},
                                 {"[4] -7", kImageValue, 0, 0, 1, IndexCode(4), 0},
                             });
}

TEST(ResultTreeModel, EmptyDocumentsAndNoDocument) {
    ExpectItems(Items(Built("{}")), {{"{ 存取键值表 }", kImageObject, kOpen, -1, 0, 0, 1}});
    ExpectItems(Items(Built("[]")), {{"[ 存取列表 ]", kImageArray, kOpen, -1, 0, 0, 1}});
    // A rebuild without a document leaves no items from the one before.
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(R"({"a":1})"));
    tree.Rebuild(JsonModel{});
    EXPECT_EQ(tree.ItemCount(), 0);
    EXPECT_EQ(tree.Keys().Count(), 0);
    ItemRecord record;
    EXPECT_FALSE(tree.ReadItemRecord(0, record));
}

TEST(ResultTreeModel, ExpandAllOffCollapsesEveryContainerButTheRoot) {
    const auto tree = Built(R"({"o":{"a":[1]},"v":2,"e":[]})", false);
    const std::vector<uint8_t> states = {kOpen, kBold, kBold, 0, 0, kBold};
    ASSERT_EQ(tree.ItemCount(), static_cast<int32_t>(states.size()));
    for (int32_t i = 0; i < tree.ItemCount(); ++i) EXPECT_EQ(tree.State(i), states[i]) << i;
    EXPECT_EQ(tree.ExpandableItems(), (std::vector<int32_t>{1, 2, 5}));
}

TEST(ResultTreeModel, LongValuesAreCutInLabelsOnly) {
    const std::string longText(200, 'x');
    const std::string longKey(150, 'k');
    const auto tree = Built(R"({")" + longKey + R"(":")" + longText + R"(","n":[")" + longText + R"("]})");
    EXPECT_EQ(tree.Label(1), longKey + " \"" + std::string(120, 'x') + "...\"");
    EXPECT_EQ(tree.Label(3), "[1] \"" + std::string(120, 'x') + "...\"");
}

TEST(ResultTreeModel, EqualKeysShareOneNumberInOrderOfFirstMeeting) {
    const auto tree = Built(R"({"b":{"a":1,"b":2},"c":[{"a":3,"d":4}],"a":5})");
    const std::vector<int32_t> codes = {0, Key(1), Key(2), Key(1), Key(3), IndexCode(1), Key(2), Key(4), Key(2)};
    ASSERT_EQ(tree.ItemCount(), static_cast<int32_t>(codes.size()));
    for (int32_t i = 0; i < tree.ItemCount(); ++i) EXPECT_EQ(tree.Record(i).itemCode, codes[i]) << i;
    ASSERT_EQ(tree.Keys().Count(), 4);
    const std::vector<std::string> keys = {"b", "a", "c", "d"};
    for (int32_t n = 1; n <= 4; ++n) EXPECT_EQ(*tree.Keys().KeyText(n), keys[n - 1]);
}

TEST(ResultTreeModel, RebuildStartsTheKeyNumberingAfresh) {
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(R"({"x":1,"y":2})"));
    tree.Keys().RegisterKey("added later");
    tree.Rebuild(LoadModel(R"({"y":1})"));
    EXPECT_EQ(tree.Keys().Count(), 1);
    EXPECT_EQ(tree.Record(1).itemCode, Key(1));
    EXPECT_EQ(*tree.Keys().KeyText(1), "y");
}

TEST(ResultTreeModel, KeysBeginningWithSlashesShowTheirValues) {
    const auto tree = Built(R"({"//a":{"b":"c"},"//":7})");
    EXPECT_EQ(tree.Label(1), "//a");
    EXPECT_EQ(tree.Label(2), "b \"c\"");
    EXPECT_EQ(tree.Label(3), "// 7");
}

TEST(ResultTreeModel, ChildrenAndSubtreesFollowPreOrder) {
    const auto tree = Built(R"({"a":{"b":[1,2],"c":3},"d":[],"e":4})");
    // 0 root, 1 a, 2 b, 3 [1], 4 [2], 5 c, 6 d, 7 e
    const struct {
        int32_t item, firstChild, nextSibling, subtreeEnd;
    } rows[] = {{0, 1, -1, 8},  {1, 2, 6, 6},   {2, 3, 5, 5},  {3, -1, 4, 4},
                {4, -1, -1, 5}, {5, -1, -1, 6}, {6, -1, 7, 7}, {7, -1, -1, 8}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.item);
        EXPECT_EQ(tree.FirstChild(row.item), row.firstChild);
        EXPECT_EQ(tree.NextSibling(row.item), row.nextSibling);
        EXPECT_EQ(tree.SubtreeEnd(row.item), row.subtreeEnd);
    }
    for (int32_t i = 1; i < tree.ItemCount(); ++i) {
        const ItemRecord& r = tree.Record(i);
        EXPECT_LT(r.parent, i); // a parent comes before its children
        EXPECT_EQ(r.depth, tree.Record(r.parent).depth + 1);
    }
}

TEST(ResultTreeModel, DeepNestingBuildsWithoutRecursion) {
    constexpr int kDepth = 100'000;
    for (const std::string& json : {test::DeepArrayJson(kDepth), test::DeepObjectJson(kDepth)}) {
        const auto tree = Built(json, false);
        ASSERT_EQ(tree.ItemCount(), kDepth);
        const int32_t last = kDepth - 1;
        EXPECT_EQ(tree.Record(last).depth, last);
        EXPECT_EQ(tree.Record(last).parent, last - 1);
        EXPECT_EQ(tree.SubtreeEnd(0), kDepth);
        EXPECT_EQ(tree.SubtreeEnd(last), kDepth);
        EXPECT_EQ(tree.Label(last), json[0] == '[' ? "[1] " : "k");
        EXPECT_EQ(tree.ExpandableItems().size(), static_cast<size_t>(kDeepestShownDepth - 1));
        EXPECT_EQ(tree.ShownItem(last), kDeepestShownDepth) << "in a chain an item's index is its depth";
    }
}

TEST(ResultTreeModel, ContainersAtTheDeepestShownDepthAreMarkedAndStayClosed) {
    constexpr int32_t kCut = kDeepestShownDepth; // in a chain an item's index is its depth
    const auto tree = Built(test::DeepArrayJson(kCut + 2));
    EXPECT_EQ(tree.State(kCut - 1), kOpen);
    EXPECT_EQ(tree.Label(kCut), "[1] " + std::string(kTooDeepMark));
    EXPECT_EQ(tree.State(kCut), kBold);
    EXPECT_FALSE(tree.CanExpand(kCut));
    EXPECT_EQ(tree.ShownItem(kCut + 1), kCut);
    EXPECT_EQ(Built(test::DeepArrayJson(kCut + 1)).Label(kCut), "[1] ") << "an empty one hides nothing";
}

TEST(ResultTreeModel, AMillionNodes) {
    constexpr int kRecords = 125'000; // 8 nodes each
    const auto tree = Built(test::RecordsJson(kRecords), false);
    ASSERT_EQ(tree.ItemCount(), kRecords * 8 + 1);
    const int32_t lastRecord = tree.ItemCount() - 8;
    const struct {
        int32_t item;
        const char* label;
        int32_t parent;
    } rows[] = {
        {lastRecord, "[125000] ", 0},
        {lastRecord + 1, "id 125000", lastRecord},
        {lastRecord + 2, "name \"名字125000\"", lastRecord},
        {lastRecord + 4, "[1] 125000", lastRecord + 3},
        {lastRecord + 5, "[2] \"标签\"", lastRecord + 3},
        {lastRecord + 7, "ok 真", lastRecord + 6},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(tree.Label(row.item), row.label);
        EXPECT_EQ(tree.Record(row.item).parent, row.parent);
    }
    EXPECT_EQ(tree.Keys().Count(), 5);
    EXPECT_EQ(tree.ExpandableItems().size(), static_cast<size_t>(kRecords * 3));
}
