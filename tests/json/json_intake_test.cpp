// Parsing the editor text into the document, loading text, format and compress.
#include "editor/MemoryEditor.h"
#include "support/RecordingReporter.h"

#include <gtest/gtest.h>

using namespace vivu;
using vivu::test::RecordingReporter;

namespace {
class JsonIntakeTest : public ::testing::Test {
protected:
    MemoryEditor editor;
    JsonModel model;
    RecordingReporter reporter;
    JsonIntake intake{editor, model, reporter};

    bool Parse(const std::string& text, std::string& error) {
        editor.text = text;
        editor.caret = text.size();
        return intake.ParseJson(error, false);
    }
};
} // namespace

TEST(DetectRootKind, FirstSignificantByteDecides) {
    EXPECT_EQ(DetectRootKind("{}"), kRootObject);
    EXPECT_EQ(DetectRootKind(" \t\r\n[1]"), kRootArray);
    EXPECT_EQ(DetectRootKind(""), kRootNone);
    EXPECT_EQ(DetectRootKind(" \r\n\t "), kRootNone);
    EXPECT_EQ(DetectRootKind("\xEF\xBB\xBF{}"), kRootNone) << "a byte-order mark is not skipped";
    EXPECT_EQ(DetectRootKind("// c\n{}"), kRootNone);
    EXPECT_EQ(DetectRootKind("\f{}"), kRootNone);
    EXPECT_EQ(DetectRootKind("\"x\""), kRootNone);
}

TEST_F(JsonIntakeTest, KindsAndFailureTexts) {
    const std::string object = std::string(kObjectLoadFailed) + "\n位置：第 ";
    const std::string array = std::string(kArrayLoadFailed) + "\n位置：第 ";
    struct Case {
        std::string text;
        bool ok;
        int32_t kind;
        std::string error;
        int offset; // where the reader stopped; -1 when the failure has no place
    } cases[] = {
        {"\r\n\t  {\"a\":1}", true, kRootObject, "unchanged", -1},
        {"[1,2]", true, kRootArray, "unchanged", -1},
        {"", false, kRootNone, kUnknownJsonType, -1},
        {"   ", false, kRootNone, kUnknownJsonType, -1},
        {"\xEF\xBB\xBF{\"a\":1}", false, kRootNone, kUnknownJsonType, -1},
        {"x{}", false, kRootNone, kUnknownJsonType, -1},
        {"[1,2", false, kRootNone, array + "1 行，第 5 列", 4},
        {"{\"a\"", false, kRootNone, object + "1 行，第 5 列", 4},
        {"{\"a\":1} trailing", false, kRootNone, object + "1 行，第 9 列", 8},
        {"{\"a\": [1, 2,, 3]}", false, kRootNone, object + "1 行，第 13 列", 12},
        {"[1, 2, 3", false, kRootNone, array + "1 行，第 9 列", 8},
        {"[1,2}", false, kRootNone, array + "1 行，第 5 列", 4},
        // A refused literal or number is placed where it begins.
        {"{\"b\": tru\n", false, kRootNone, object + "1 行，第 7 列", 6},
        {"[1, 2, nul]", false, kRootNone, array + "1 行，第 8 列", 7},
        {"[tRue, -, 1.]", false, kRootNone, array + "1 行，第 2 列", 1},
        {"[0, -]", false, kRootNone, array + "1 行，第 5 列", 4},
        {"{\"a\":\r\n  1.5e}", false, kRootNone, object + "2 行，第 3 列", 9},
        {"[\n  01]", false, kRootNone, array + "2 行，第 3 列", 4},
        {"[7, 1.5.3]", false, kRootNone, array + "1 行，第 5 列", 4},
        {"[falsey]", false, kRootNone, array + "1 行，第 2 列", 1},
        // CR LF, CR and LF each end one line; columns count characters, not bytes.
        {"[\r\n\"汉字\",\r\r\n\n \"é\", x]", false, kRootNone, array + "5 行，第 7 列", 23},
    };
    for (const auto& c : cases) {
        std::string error = "unchanged";
        EXPECT_TRUE(Parse("[0]", error)) << "a successful parse first";
        EXPECT_EQ(Parse(c.text, error), c.ok) << c.text;
        EXPECT_EQ(model.kind, c.kind) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(editor.text, c.text) << "parsing never changes the editor";
        if (c.offset < 0) {
            EXPECT_FALSE(intake.LastFailure()) << c.text;
            continue;
        }
        ASSERT_TRUE(intake.LastFailure()) << c.text;
        EXPECT_EQ(intake.LastFailure()->offset, static_cast<size_t>(c.offset)) << c.text;
        EXPECT_EQ(intake.LastFailure()->message, c.error);
    }
    EXPECT_TRUE(reporter.shown.empty()) << "silent parses show nothing";
}

TEST_F(JsonIntakeTest, ShownFailureUsesTheTitle) {
    std::string error;
    editor.text = "nonsense";
    EXPECT_FALSE(intake.ParseJson(error, true));
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0].first, kUnknownJsonType);
    EXPECT_EQ(reporter.shown[0].second, kLoadFailedTitle);
}

TEST_F(JsonIntakeTest, OnlyTheMatchingRootIsReplaced) {
    std::string error;
    ASSERT_TRUE(Parse("[1,2,3]", error));
    ASSERT_TRUE(Parse("{\"o\":true}", error));
    EXPECT_EQ(model.kind, kRootObject);
    EXPECT_EQ(model.array.Count(), 3) << "the array root keeps the earlier document";
    EXPECT_TRUE(model.object.GetBool("o"));
}

TEST_F(JsonIntakeTest, LoadEditorTextReplacesInOneUndoStep) {
    editor.text = "old text";
    std::string error;
    EXPECT_TRUE(intake.LoadEditorText("{\"中\":1}", error, true));
    EXPECT_EQ(editor.text, "{\"中\":1}");
    EXPECT_EQ(model.kind, kRootObject);
    EXPECT_TRUE(editor.Undo());
    EXPECT_EQ(editor.text, "old text");
    EXPECT_TRUE(intake.LoadEditorText("not json", error, false)) << "no parse asked";
    EXPECT_FALSE(intake.LoadEditorText("not json", error, true));
    EXPECT_EQ(error, kUnknownJsonType);
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(JsonIntakeTest, FormatAndCompress) {
    editor.text = "\r\n\r\n  {\"a\": 1, \"b\": [2, 3], \"e\": {}, \"中文\": \"值\"}\r\n\r\n";
    intake.RewriteJson(0);
    const std::string pretty = "{\r\n    \"a\": 1,\r\n    \"b\": [\r\n        2,\r\n        3\r\n    ],\r\n"
                               "    \"e\": {},\r\n    \"中文\": \"值\"\r\n}";
    EXPECT_EQ(editor.text, pretty) << "blank lines are gone";
    intake.RewriteJson(0);
    EXPECT_EQ(editor.text, pretty) << "format twice is stable";
    intake.RewriteJson(1);
    EXPECT_EQ(editor.text, "{\"a\":1,\"b\":[2,3],\"e\":{},\"中文\":\"值\"}");
    intake.RewriteJson(0);
    EXPECT_EQ(editor.text, pretty) << "compress then format gives the pretty layout back";
    EXPECT_EQ(model.kind, kRootObject);
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(editor.text, "{\"a\":1,\"b\":[2,3],\"e\":{},\"中文\":\"值\"}") << "undo brings the old text back";

    editor.text = "{}";
    intake.RewriteJson(0);
    EXPECT_EQ(editor.text, "{}");
    editor.text = "[]";
    intake.RewriteJson(3); // bit 0 set: compress
    EXPECT_EQ(editor.text, "[]");
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(JsonIntakeTest, RewriteOfInvalidTextChangesNothing) {
    std::string error;
    ASSERT_TRUE(Parse("[1]", error));
    editor.text = "{\"a\":";
    intake.RewriteJson(0);
    EXPECT_EQ(editor.text, "{\"a\":");
    EXPECT_EQ(model.kind, kRootNone);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0].first, std::string(kObjectLoadFailed) + "\n位置：第 1 行，第 6 列");
    EXPECT_EQ(reporter.shown[0].second, kLoadFailedTitle);
}

TEST_F(JsonIntakeTest, ReadEditorTextInGbk) {
    editor.text = "{\"中\":\"文\"}";
    EXPECT_EQ(intake.ReadEditorText("GBK"), "{\"\xD6\xD0\":\"\xCE\xC4\"}");
    EXPECT_EQ(intake.ReadEditorText(), editor.text);
}
