// Find in the tree: which items match a text, and in which order they are visited.
#include "view/FindInText.h"
#include "view/FindNode.h"

#include "ViewDocuments.h"
#include "view/BuildNodePath.h"

#include <gtest/gtest.h>

using namespace vivu;
using vivu::test::LoadModel;

namespace {

// Pre-order items: 0 root, 1 Name, 2 list, 3 [1], 4 Key, 5 [2] 2.5, 6 [3] null, 7 [4] false, 8 ALPHA, 9 空
constexpr const char* kDoc = R"({"Name":"Alpha","list":[{"Key":"ÄLPHA béta"},2.5,null,false],"ALPHA":12,"空":"中文"})";

ResultTreeModel TreeOf(std::string_view json) {
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(json));
    return tree;
}

} // namespace

TEST(FindNode, ContainsComparesAsciiLettersWithoutCase) {
    EXPECT_TRUE(ContainsIgnoringAsciiCase("Hello World", "o wO"));
    EXPECT_TRUE(ContainsIgnoringAsciiCase("abc", ""));
    EXPECT_FALSE(ContainsIgnoringAsciiCase("ab", "abc"));
    EXPECT_FALSE(ContainsIgnoringAsciiCase("ÄLPHA", "äl")) << "only ASCII letters fold";
    EXPECT_TRUE(ContainsIgnoringAsciiCase("x中文y", "文Y"));
    EXPECT_FALSE(ContainsIgnoringAsciiCase("a[b", "a{b")) << "'[' is not '{' in another case";
}

TEST(FindNode, KeysAndShownValuesMatchInDocumentOrder) {
    const ResultTreeModel tree = TreeOf(kDoc);
    const struct {
        const char* query;
        std::vector<int32_t> items;
    } cases[] = {
        {"alpha", {1, 8}},   // a value, a key; "ÄLPHA" has no ASCII A first
        {"LPHA", {1, 4, 8}}, // inside a text
        {"2", {5, 8}},       // numbers as shown: 2.5 and the value 12 of ALPHA
        {"假", {7}},         // false shows as 假
        {"list", {2}},       // a container's key; its JSON text is not searched
        {"中", {9}},
        {"null", {}}, // null shows as nothing
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(FindAllNodes(tree, c.query), c.items) << c.query;
}

TEST(FindNode, NextAndPreviousWrapOnce) {
    const ResultTreeModel tree = TreeOf(kDoc);
    EXPECT_EQ(FindNode(tree, "alpha", -1), 1) << "from before the root";
    EXPECT_EQ(FindNode(tree, "alpha", 1), 8);
    EXPECT_EQ(FindNode(tree, "alpha", 8), 1) << "past the end, from the start";
    EXPECT_EQ(FindNode(tree, "alpha", 8, FindDirection::kBackward), 1);
    EXPECT_EQ(FindNode(tree, "alpha", 1, FindDirection::kBackward), 8) << "before the start, from the end";
    EXPECT_EQ(FindNode(tree, "alpha", -1, FindDirection::kBackward), 8);
    EXPECT_EQ(FindNode(tree, "中", 9), 9) << "the only match is found again";
    EXPECT_EQ(FindNode(tree, "zzz", 3), -1);
    EXPECT_EQ(FindNode(ResultTreeModel(), "a", -1), -1) << "no document";
}

TEST(FindNode, SearchesTheDocumentTheItemsWereMadeFrom) {
    JsonModel model = LoadModel(kDoc);
    ResultTreeModel tree;
    tree.Rebuild(model);
    ASSERT_TRUE(model.object.FromJSON(R"({"other":1})"));
    EXPECT_EQ(FindNode(tree, "alpha", -1), 1) << "the document the tree shows, not the newer one";

    const ResultTreeModel deep = TreeOf(test::DeepObjectJson(200'000));
    EXPECT_EQ(FindNode(deep, "K", 5, FindDirection::kBackward), 4) << "no recursion down a deep chain";
    EXPECT_EQ(FindAllNodes(deep, "k").size(), 199'999u);

    // What Find reaches in containers nobody opened has its own path and label.
    const ResultTreeModel records = TreeOf(test::RecordsJson(1000));
    const int32_t found = FindNode(records, "名字777", -1);
    EXPECT_EQ(BuildNodePath(records, found), "//[777].name");
    EXPECT_EQ(records.Label(found), "name \"名字777\"");
    EXPECT_EQ(BuildNodePath(records, FindNode(records, "标签", found)), "//[777].tags[2]");
}

// Find in the editor: the next occurrence after the caret, or the one before, wrapping once.
TEST(FindInText, AsciiLettersInAnyCaseBothWaysAndRound) {
    constexpr std::string_view kText = "Ab ÄB aB\r\n中文ab";
    const struct {
        std::string_view query;
        size_t from;
        FindDirection direction;
        size_t found;
    } cases[] = {
        {"ab", 0, FindDirection::kForward, 0},
        {"ab", 1, FindDirection::kForward, 7},
        {"AB", 8, FindDirection::kForward, 17},
        {"ab", 18, FindDirection::kForward, 0}, // round from the end
        {"ab", 17, FindDirection::kBackward, 7},
        {"ab", 0, FindDirection::kBackward, 17}, // round from the start
        {"Äb", 0, FindDirection::kForward, 3},
        {"b\r\n中", 0, FindDirection::kBackward, 8},
        {"ÄB", 4, FindDirection::kForward, 3},                      // the only one, found again past the end
        {"äB", 0, FindDirection::kForward, std::string_view::npos}, // only ASCII letters fold
        {"", 0, FindDirection::kForward, std::string_view::npos},
        {"中文ab!", 0, FindDirection::kBackward, std::string_view::npos},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindInText(kText, c.query, c.from, c.direction), c.found) << c.query << " from " << c.from;
}
