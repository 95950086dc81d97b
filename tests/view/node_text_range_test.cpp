// Where a node stands in the text: every kind of value, in the text it was read from and after a rewrite.
#include "view/NodeTextRange.h"

#include "ViewDocuments.h"
#include "editor/MemoryEditor.h"
#include "kova/JsonText.h"
#include "support/RecordingReporter.h"
#include "view/BuildNodePath.h"
#include "json/JsonIntake.h"

#include <gtest/gtest.h>

using namespace vivu;
using vivu::test::LoadModel;

namespace {

// Escapes, non-ASCII text, CR LF and lone CR line ends, numbers of each kind, a duplicate key.
constexpr std::string_view kDocument =
    "{\"名字\": \"汉\\\"字\\\\\",\r\n \"a.b\": {\"x\": [1, -2.5e+3, true, null, \"\\u00e9\"], \"e\": {},\r"
    " \"l\": [ ]},\n \"n\": 123456789012345678901234567890, \"d\": {\"k\": 1, \"z\": [2], \"k\": {\"y\": false}}}";

std::string_view RangeText(std::string_view text, const std::optional<TextRange>& range) {
    return range ? text.substr(range->start, range->end - range->start) : std::string_view("(none)");
}

} // namespace

TEST(NodeTextRange, EachKindOfValueFromItsFirstCharacterToItsLast) {
    const JsonModel model = LoadModel(kDocument);
    ASSERT_EQ(model.kind, kRootObject);
    const struct {
        const char* path;
        std::string_view text;
    } cases[] = {
        {"//名字", R"("汉\"字\\")"},
        {"//a\\.b.x", R"([1, -2.5e+3, true, null, "\u00e9"])"},
        {"//a\\.b.x[2]", "-2.5e+3"},
        {"//a\\.b.x[3]", "true"},
        {"//a\\.b.x[4]", "null"},
        {"//a\\.b.x[5]", R"("\u00e9")"},
        {"//a\\.b.e", "{}"},
        {"//a\\.b.l", "[ ]"},
        {"//a\\.b", "{\"x\": [1, -2.5e+3, true, null, \"\\u00e9\"], \"e\": {},\r \"l\": [ ]}"},
        {"//n", "123456789012345678901234567890"},
        {"//d.k", R"({"y": false})"}, // the last of two equal keys, kept at the first one's place
        {"//d", R"({"k": 1, "z": [2], "k": {"y": false}})"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RangeText(kDocument, NodeTextRange(model.object.Find(c.path), kDocument)), c.text) << c.path;
    EXPECT_EQ(RangeText(kDocument, NodeTextRange(model.object.Root(), kDocument)), kDocument);
    EXPECT_EQ(LineColumnText(kDocument, *NodeTextRange(model.object.Find("//a\\.b.l"), kDocument)), "3:7-3:9");

    // Text that no longer holds the value there: nothing, rather than a wrong place.
    std::string edited(kDocument);
    edited[edited.find("-2.5")] = 'x';
    EXPECT_FALSE(NodeTextRange(model.object.Find("//a\\.b.x[2]"), edited));
    EXPECT_FALSE(NodeTextRange(model.object.Find("//a\\.b.x"), edited.substr(0, edited.find("true"))));
}

// Every item of the tree made from the text as read, located in the text as read, formatted and
// compressed: each range holds exactly the node, nothing around it.
TEST(NodeTextRange, EveryItemAfterFormatAndCompress) {
    for (const std::string_view json : {kDocument, std::string_view(R"([{"k": [[], {"a": "\r\n"}]}, 0, "文"])")}) {
        for (const int mode : {-1, 0, 1}) {
            MemoryEditor editor;
            JsonModel model;
            test::RecordingReporter reporter;
            JsonIntake intake(editor, model, reporter);
            std::string error;
            ASSERT_TRUE(intake.LoadEditorText(json, error, true));
            ResultTreeModel tree;
            tree.Rebuild(model); // the tree keeps the document as read; the rewrite parses anew
            if (mode >= 0) intake.RewriteJson(mode);
            ASSERT_NE(editor.text == json, mode >= 0);
            for (int32_t item = 0; item < tree.ItemCount(); ++item) {
                const auto range = ItemTextRange(tree, item, model, editor.text);
                ASSERT_TRUE(range) << BuildNodePath(tree, item) << " mode " << mode;
                const std::string_view text = RangeText(editor.text, range);
                EXPECT_FALSE(std::isspace(static_cast<unsigned char>(text.front())) ||
                             std::isspace(static_cast<unsigned char>(text.back())));
                // The range read as a JSON value is the node, written the same.
                std::string listed = "[";
                listed.append(text).push_back(']');
                kova::Value read;
                ASSERT_TRUE(kova::ParseJsonText(listed, read)) << text;
                const std::string path = BuildNodePath(tree, item);
                const kova::ValueRef node = path.empty()                ? tree.Document()
                                            : model.kind == kRootObject ? model.object.Find(path)
                                                                        : model.array.Find(path);
                std::string expected = "[";
                expected.append(kova::WriteJsonText(node, {})).push_back(']');
                EXPECT_EQ(kova::WriteJsonText(read, {}), expected) << path;
            }
        }
    }
}

TEST(NodeTextRange, DeepNestingCostsItsDepthWithoutRecursion) {
    constexpr int kDepth = 100'000;
    const std::string json = "{\"top\":\r\n" + test::DeepObjectJson(kDepth) + "}";
    const JsonModel model = LoadModel(json);
    ResultTreeModel tree;
    tree.Rebuild(model, false);
    ASSERT_EQ(tree.ItemCount(), kDepth + 1);
    EXPECT_EQ(RangeText(json, ItemTextRange(tree, 0, model, json)), json);
    EXPECT_EQ(RangeText(json, ItemTextRange(tree, 1, model, json)), test::DeepObjectJson(kDepth));
    EXPECT_EQ(RangeText(json, ItemTextRange(tree, kDepth, model, json)), "{}");
    const std::string columns = std::to_string(5 * kDepth - 4) + "-2:" + std::to_string(5 * kDepth - 3);
    EXPECT_EQ(LineColumnText(json, *ItemTextRange(tree, kDepth, model, json)), "2:" + columns);
}
