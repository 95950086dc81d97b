// The current node set by a selection, and the content shown for it.
#include "view/NodeDetails.h"

#include "ViewDocuments.h"
#include "kova/Encoding.h"

#include <gtest/gtest.h>

using namespace vivu;
using vivu::test::LoadModel;

namespace {

// Pre-order items: 0 root, 1 o, 2 x, 3 a, 4 [1], 5 [2], 6 s, 7 n, 8 d, 9 e
constexpr const char* kObject = R"({"o":{"x":1},"a":[true,"中"],"s":"文本","n":null,"d":2.5,"e":{}})";

} // namespace

TEST(NodeDetails, SelectingANodeSetsItsPathAndType) {
    const JsonModel model = LoadModel(kObject);
    ResultTreeModel tree;
    tree.Rebuild(model);
    const struct {
        int32_t item;
        const char* path;
        int32_t type;
    } cases[] = {
        {1, "//o", 11},   {2, "//o.x", 1}, {3, "//a", 12}, {4, "//a[1]", 5},
        {5, "//a[2]", 6}, {6, "//s", 6},   {7, "//n", 0},  {8, "//d", 3},
    };
    for (const auto& c : cases) {
        CurrentNode current;
        EXPECT_EQ(UpdateCurrentNode(tree, model, c.item, current), NodeSelection::kNode);
        EXPECT_EQ(current.path, c.path);
        EXPECT_EQ(current.type, c.type) << c.path;
    }
}

TEST(NodeDetails, TheRootOrNothingSelectedKeepsTheCurrentNode) {
    const JsonModel model = LoadModel(kObject);
    ResultTreeModel tree;
    tree.Rebuild(model);
    for (int32_t item : {0, -1}) {
        CurrentNode current{"//before", 6};
        EXPECT_EQ(UpdateCurrentNode(tree, model, item, current), NodeSelection::kNoNode);
        EXPECT_EQ(current.path, "//before");
        EXPECT_EQ(current.type, 6);
        EXPECT_EQ(NodeContent(tree, model, item, current).text, "");
    }
}

TEST(NodeDetails, WithoutADocumentOnlyThePathChanges) {
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(kObject));
    CurrentNode current{"//before", 6};
    EXPECT_EQ(UpdateCurrentNode(tree, JsonModel{}, 2, current), NodeSelection::kNoDocument);
    EXPECT_EQ(current.path, "//o.x");
    EXPECT_EQ(current.type, 6);
    EXPECT_EQ(NodeContent(tree, JsonModel{}, 2, current).text, "");
}

TEST(NodeDetails, ContentOfEachKindOfNode) {
    const JsonModel objectDoc = LoadModel(kObject);
    const JsonModel arrayDoc = LoadModel(R"([{"k":[1,2]},"t",[]])");
    const struct {
        const JsonModel* model;
        int32_t item;
        const char* text;
        bool isJson;
    } cases[] = {
        {&objectDoc, 1, "{\r\n    \"x\": 1\r\n}", true},
        {&objectDoc, 3, "[\r\n    true,\r\n    \"中\"\r\n]", true},
        {&objectDoc, 2, "1", false},
        {&objectDoc, 4, "真", false},
        {&objectDoc, 6, "文本", false},
        {&objectDoc, 7, "", false},
        {&objectDoc, 8, "2.5", false},
        {&objectDoc, 9, "{}", true},
        {&arrayDoc, 1, "{\r\n    \"k\": [\r\n        1,\r\n        2\r\n    ]\r\n}", true},
        {&arrayDoc, 2, "[\r\n    1,\r\n    2\r\n]", true},
        {&arrayDoc, 5, "t", false},
        {&arrayDoc, 6, "[]", true},
    };
    for (const auto& c : cases) {
        ResultTreeModel tree;
        tree.Rebuild(*c.model);
        CurrentNode current;
        ASSERT_EQ(UpdateCurrentNode(tree, *c.model, c.item, current), NodeSelection::kNode);
        const NodeContentText content = NodeContent(tree, *c.model, c.item, current);
        EXPECT_EQ(content.text, c.text) << current.path;
        EXPECT_EQ(content.isJson, c.isJson) << current.path;
    }
}

TEST(NodeDetails, ContentFallsBackToTheTextWhenTheContainerIsGone) {
    // The tree shows the last parsed document; the model may hold another one by now.
    ResultTreeModel tree;
    tree.Rebuild(LoadModel(R"({"a":{"b":1}})"));
    const JsonModel changed = LoadModel(R"({"a":"now a text"})");
    const CurrentNode current{"//a", 11};
    const NodeContentText content = NodeContent(tree, changed, 1, current);
    EXPECT_EQ(content.text, "now a text");
    EXPECT_FALSE(content.isJson);
}

TEST(NodeDetails, ALimitCutsALongContentAtACharacterAndMarksIt) {
    std::string json = R"({"list":[)";
    for (int i = 0; i < 20000; ++i) json += (i ? ",\"" : "\"") + std::string("文本") + std::to_string(i) + "\"";
    json += R"(],"text":")" + std::string(30000, 'x') + R"(中"})";
    const JsonModel model = LoadModel(json.c_str());
    ResultTreeModel tree;
    tree.Rebuild(model);
    for (const int32_t item : {1, tree.SubtreeEnd(1)}) {
        CurrentNode current;
        ASSERT_EQ(UpdateCurrentNode(tree, model, item, current), NodeSelection::kNode);
        const std::string whole = NodeContent(tree, model, item, current).text;
        const std::string cut = NodeContent(tree, model, item, current, 30001).text;
        const std::string shown = cut.substr(0, cut.size() - std::string(kContentCutMark).size());
        EXPECT_EQ(cut.substr(shown.size()), kContentCutMark) << current.path;
        EXPECT_LE(shown.size(), 30001u);
        EXPECT_GE(shown.size(), 29998u);
        EXPECT_TRUE(kova::IsValidUtf8(shown)) << "cut between characters";
        EXPECT_EQ(whole.compare(0, shown.size(), shown), 0) << "the cut text begins the whole content";
    }
}
