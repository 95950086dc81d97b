// Bad and oversized input through the path the main window takes: file source, parse, format, compress.
#include "editor/MemoryEditor.h"
#include "kova/File.h"
#include "support/RecordingReporter.h"
#include "json/FileSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace vivu;
using vivu::MemoryEditor;
using vivu::test::RecordingReporter;
namespace fs = std::filesystem;

namespace {

class BadInput : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kova-bad-input-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Loads a file as the file source does: the editor takes its text, then a silent parse.
    bool LoadFile(const std::string& bytes, std::string& error) {
        const std::string path = (dir_ / "input.json").string();
        EXPECT_TRUE(kova::WriteFileBytes(path, bytes));
        auto text = ReadSourceFile(path);
        EXPECT_TRUE(text.has_value());
        intake.LoadEditorText(text.value_or(""), error, false);
        return intake.ParseJson(error, false);
    }

    fs::path dir_;
    MemoryEditor editor;
    JsonModel model;
    RecordingReporter reporter;
    JsonIntake intake{editor, model, reporter};
};

// A failure's message without the line that says where.
std::string FirstLine(const std::string& message) {
    return message.substr(0, message.find('\n'));
}

} // namespace

// Each text is refused with the message for its first character, and neither a parse
// nor a format changes the editor.
TEST_F(BadInput, InvalidTextsAreReportedAndLeftAlone) {
    struct Case {
        std::string text;
        const char* error;
    } cases[] = {
        {R"({"a":[1,2,{"b":)", kObjectLoadFailed},           // truncated
        {"[1,2", kArrayLoadFailed},                          // truncated
        {R"({"a":1}})", kObjectLoadFailed},                  // trailing garbage
        {"[1] [2]", kArrayLoadFailed},                       // two documents
        {"{'a':'b'}", kObjectLoadFailed},                    // single quotes
        {"{\"a\":1 // note\n}", kObjectLoadFailed},          // line comment
        {"[1, /* two */ 2]", kArrayLoadFailed},              // block comment
        {"// leading\n{}", kUnknownJsonType},                // comment before the document
        {"[NaN]", kArrayLoadFailed},                         // NaN
        {"[-Infinity]", kArrayLoadFailed},                   // infinity
        {R"(["\udc00"])", kArrayLoadFailed},                 // lone low surrogate
        {R"({"a":"\ud83d"})", kObjectLoadFailed},            // lone high surrogate
        {"[\"a\tb\"]", kArrayLoadFailed},                    // raw TAB in a string
        {std::string("[\"a\x01b\"]"), kArrayLoadFailed},     // raw control character
        {std::string("[\"a\0b\"]", 6), kArrayLoadFailed},    // zero byte in a string
        {"{\"a\":\"\xC3\x28\"}", kObjectLoadFailed},         // invalid UTF-8
        {"[\"\xED\xA0\x80\"]", kArrayLoadFailed},            // encoded surrogate
        {"[\"\xFF\xFE\"]", kArrayLoadFailed},                // bytes no UTF-8 has
        {"[1e400]", kArrayLoadFailed},                       // beyond a double
        {"", kUnknownJsonType},                              // empty
        {" \r\n\t ", kUnknownJsonType},                      // whitespace only
        {"\xEF\xBB\xBF[1]", kUnknownJsonType},               // byte-order mark
        {"\x89PNG\r\n\x1A\n\0\0\0\rIHDR", kUnknownJsonType}, // binary
    };
    for (const auto& c : cases) {
        editor.text = "[0]";
        std::string error;
        ASSERT_TRUE(intake.ParseJson(error, false));
        editor.text = c.text;
        EXPECT_FALSE(intake.ParseJson(error, false)) << c.text;
        EXPECT_EQ(FirstLine(error), c.error) << c.text;
        EXPECT_EQ(model.kind, kRootNone) << c.text;
        reporter.shown.clear();
        intake.RewriteJson(0);
        intake.RewriteJson(1);
        EXPECT_EQ(editor.text, c.text) << "format and compress leave an invalid text alone";
        ASSERT_EQ(reporter.shown.size(), 2u) << c.text;
        EXPECT_EQ(reporter.shown[1].first, error) << "the same text, its place included";
        EXPECT_EQ(reporter.shown[1].second, kLoadFailedTitle);
    }
}

TEST_F(BadInput, DuplicateKeysKeepTheLastValue) {
    editor.text = R"({"a":1,"b":2,"a":{"c":3}})";
    intake.RewriteJson(1);
    EXPECT_EQ(editor.text, R"({"a":{"c":3},"b":2})");
    EXPECT_TRUE(reporter.shown.empty());
}

// Whatever a double cannot hold exactly is written back with its own digits; only what
// no double can hold at all is refused.
TEST_F(BadInput, NumbersAtTheEdgesSurviveFormatAndCompress) {
    // 16 significant digits are one more than a double always keeps: 2^53 + 1 becomes 2^53 in one.
    const std::string numbers = "[18446744073709551616,-92233720368547758080,123456789012345678901234567890.5,"
                                "-0,-0.0,1e-400,4.9e-324,1.7976931348623157e308,"
                                "9007199254740993.0,9.007199254740993e15,1e5,2e-5,1E+2,0.50]";
    editor.text = numbers;
    intake.RewriteJson(0);
    intake.RewriteJson(1);
    EXPECT_EQ(editor.text, numbers) << "every number as it was read";
    EXPECT_TRUE(reporter.shown.empty());
    std::string error;
    editor.text = R"({"big":1e400})";
    EXPECT_FALSE(intake.ParseJson(error, false));
    EXPECT_EQ(FirstLine(error), kObjectLoadFailed);
}

// The file source decodes what is not UTF-8 as GBK, so the editor shows something for
// every byte and the parse decides.
TEST_F(BadInput, FilesWithBytesThatAreNotUtf8) {
    std::string error;
    EXPECT_FALSE(LoadFile(std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), error));
    EXPECT_EQ(error, kUnknownJsonType);
    EXPECT_FALSE(editor.text.empty()) << "the text before the first zero byte";
    EXPECT_TRUE(LoadFile("{\"a\":\"\xC3\xFB\"}", error)) << "not UTF-8, but GBK";
    EXPECT_EQ(editor.text, "{\"a\":\"名\"}");
    EXPECT_FALSE(LoadFile("", error));
    EXPECT_EQ(error, kUnknownJsonType);
    EXPECT_EQ(editor.text, "");
}

TEST_F(BadInput, TwoHundredMegabyteFile) {
    // Records of about 200 bytes, Chinese text included, so values stay few and memory modest.
    const std::string record =
        R"({"id":1234567,"name":"维维迪维兹","note":")" + std::string(120, 'x') + R"(","ok":true,"list":[1,2.5,null]})";
    const size_t count = 200'000'000 / (record.size() + 1);
    std::string json = "[";
    json.reserve(count * (record.size() + 1) + 16);
    for (size_t i = 0; i < count; ++i) {
        if (i) json += ',';
        json += record;
    }
    json += ",\"last\"]";
    ASSERT_GE(json.size(), 200'000'000u);
    std::string error;
    ASSERT_TRUE(LoadFile(json, error));
    EXPECT_EQ(model.kind, kRootArray);
    EXPECT_EQ(model.array.Count(), static_cast<int>(count + 1));
    EXPECT_EQ(model.array.GetString("//[" + std::to_string(count) + "].name"), "维维迪维兹");
    EXPECT_EQ(model.array.GetString(static_cast<int>(count + 1)), "last");
    EXPECT_EQ(editor.text.size(), json.size());
    intake.RewriteJson(1);
    EXPECT_EQ(editor.text.size(), json.size()) << "compressing a compact text gives it back";
    EXPECT_EQ(editor.text.compare(0, 64, json, 0, 64), 0);
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(BadInput, AMillionKeys) {
    const int count = 1'000'000;
    std::string json = "{";
    for (int i = 0; i < count; ++i) json += "\"key" + std::to_string(i) + "\":" + std::to_string(i) + ",";
    json += "\"key7\":\"again\"}"; // a duplicate at the end: the last value, at the first place
    std::string error;
    ASSERT_TRUE(LoadFile(json, error));
    EXPECT_EQ(model.object.Count(), count);
    EXPECT_EQ(model.object.GetInt("key999999"), 999999);
    EXPECT_EQ(model.object.GetString("key7"), "again");
    intake.RewriteJson(0);
    EXPECT_EQ(editor.text.substr(0, 24), "{\r\n    \"key0\": 0,\r\n    \"");
    intake.RewriteJson(1);
    EXPECT_EQ(editor.text.substr(0, 35), R"({"key0":0,"key1":1,"key2":2,"key3":)");
    EXPECT_NE(editor.text.find(R"("key7":"again","key8":8)"), std::string::npos);
    EXPECT_EQ(model.object.Count(), count);
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(BadInput, NestedAHundredThousandDeep) {
    const int depth = 100000;
    std::string json;
    for (int i = 0; i < depth; ++i) json += "{\"a\":[";
    json += "1";
    for (int i = 0; i < depth; ++i) json += "]}";
    std::string error;
    ASSERT_TRUE(LoadFile(json, error));
    EXPECT_EQ(model.kind, kRootObject);

    // Pretty, this would be tens of gigabytes: refused, and the text stays.
    intake.RewriteJson(0);
    EXPECT_EQ(editor.text, json);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0].first, kTextTooLong);
    EXPECT_EQ(reporter.shown[0].second, kLoadFailedTitle);

    editor.text = "  " + json;
    intake.RewriteJson(1);
    EXPECT_EQ(editor.text, json) << "compact text of the same document";
    EXPECT_EQ(model.kind, kRootObject);

    editor.text = json.substr(0, json.size() - 1); // one bracket short
    EXPECT_FALSE(intake.ParseJson(error, false));
    EXPECT_EQ(FirstLine(error), kObjectLoadFailed);
}
