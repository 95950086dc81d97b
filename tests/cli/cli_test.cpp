// kovajson run as a process: its output is what the window's operations give for the same input.
#include "KovajsonProcess.h"

#include "app/ProgramVersion.h"
#include "codegen/LoadingCode.h"
#include "editor/MemoryEditor.h"
#include "kova/Encoding.h"
#include "kova/File.h"
#include "kova/NodePath.h"
#include "support/RecordingReporter.h"
#include "support/RewrittenText.h"
#include "view/BuildNodePath.h"
#include "view/GoToPath.h"
#include "view/ItemLabel.h"
#include "view/NodePanel.h"
#include "view/ResultTreeModel.h"
#include "json/FileSource.h"
#include "json/JsonIntake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

using namespace vivu;
using vivu::test::ProcessResult;
using vivu::test::RunKovajson;
namespace fs = std::filesystem;

namespace {

// Chinese text, escapes, nesting, every kind of value.
constexpr std::string_view kObjectJson =
    "\r\n\t {\"名字\": \"汉字\", \"a.b\\\\c\": {\"x\": [1, 2.5, -3e2, true, null], \"e\": {}, \"l\": []},\n"
    " \"list\": [[\"u\\u00e9\\\"q\\\"\"], {\"k\": false}], \"long\": "
    "\"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六"
    "七八"
    "九十\"}";
constexpr std::string_view kArrayJson = "[{\"x\": 1}, [5, [6, 7]], \"t\", {}]";

class KovajsonTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kovajson-test-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A file in the temporary directory holding bytes.
    std::string File(const std::string& name, std::string_view bytes) {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(kova::WriteFileBytes(path, bytes));
        return path;
    }
    ProcessResult Run(const std::vector<std::string>& args, const std::string& stdinFile = {}) {
        return RunKovajson(args, dir_.string(), stdinFile);
    }

    fs::path dir_;
};

JsonModel Parsed(std::string_view text) {
    MemoryEditor editor;
    JsonModel model;
    test::RecordingReporter reporter;
    JsonIntake intake(editor, model, reporter);
    std::string error;
    EXPECT_TRUE(intake.LoadEditorText(text, error, true)) << error;
    return model;
}

} // namespace

TEST_F(KovajsonTest, FormatAndCompressGiveTheEditorTextOfTheCommands) {
    const std::string file = File("doc.json", kObjectJson);
    for (int mode : {0, 1}) {
        const std::string command = mode == 0 ? "format" : "compress";
        const std::string expected = test::RewrittenText(kObjectJson, mode) + "\n";
        ASSERT_GT(expected.size(), 20u);
        for (const auto& [args, input] : std::vector<std::pair<std::vector<std::string>, std::string>>{
                 {{command, file}, ""}, {{command, "-"}, file}, {{command}, file}}) {
            const ProcessResult r = Run(args, input);
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.out, expected) << command << " with input " << (input.empty() ? "file" : "stdin");
            EXPECT_EQ(r.err, "");
        }
    }
    const ProcessResult array = Run({"compress"}, File("array.json", kArrayJson));
    EXPECT_EQ(array.out, test::RewrittenText(kArrayJson, 1) + "\n");

    // Written out piece by piece: a document of several megabytes, with escapes decoded in place.
    std::string large = "{\"rows\": [";
    for (int i = 0; i < 60000; ++i) large += (i ? ", " : "") + std::string("{\"k\": \"\\u4e2d\\n值\", \"n\": 1e5}");
    large += "], \"end\": -0}";
    const std::string largeFile = File("large.json", large);
    for (int mode : {0, 1}) {
        const std::string expected = test::RewrittenText(large, mode) + "\n";
        EXPECT_EQ(Run({mode == 0 ? "format" : "compress", largeFile}).out, expected);
        EXPECT_EQ(Run({mode == 0 ? "format" : "compress"}, largeFile).out, expected) << "on standard input";
    }
}

TEST_F(KovajsonTest, InputIsDecodedLikeAFileLoad) {
    const std::string utf8(kObjectJson);
    const std::string expected = test::RewrittenText(kObjectJson, 1) + "\n";
    const std::string gbk = kova::ConvertStringEncoding(utf8, "UTF-8", "GBK");
    ASSERT_NE(gbk, utf8);
    const std::string utf16 = "\xFF\xFE" + kova::ConvertStringEncoding(utf8, "UTF-8", "UTF-16LE");
    const struct {
        const char* name;
        std::string bytes;
    } inputs[] = {{"gbk.json", gbk}, {"bom.json", "\xEF\xBB\xBF" + utf8}, {"utf16.json", utf16}};
    for (const auto& input : inputs) {
        const std::string path = File(input.name, input.bytes);
        EXPECT_EQ(Run({"compress", path}).out, expected) << input.name;
        EXPECT_EQ(Run({"compress", "-"}, path).out, expected) << input.name << " on standard input";
    }
    // The tree of a GBK file is the tree of its UTF-8 text.
    const std::string gbkPath = (dir_ / "gbk.json").string();
    EXPECT_EQ(Run({"tree", gbkPath}).out, Run({"tree", File("utf8.json", utf8)}).out);
}

TEST_F(KovajsonTest, TreeListsEveryItemAsTheResultTreeHasIt) {
    const std::string file = File("doc.json", kObjectJson);
    const JsonModel model = Parsed(kObjectJson);
    for (bool expandAll : {true, false}) {
        ResultTreeModel tree;
        tree.Rebuild(model, expandAll);
        std::string expected;
        for (int32_t i = 0; i < tree.ItemCount(); ++i) {
            const ItemRecord& r = tree.Record(i);
            expected += std::to_string(i) + '\t' + std::to_string(r.depth) + '\t' + std::to_string(r.itemCode) + '\t' +
                        std::to_string(tree.State(i)) + '\t' + std::to_string(tree.Image(i)) + '\t' +
                        BuildNodePath(tree, i) + '\t' + std::string(tree.Label(i)) + '\n';
        }
        std::vector<std::string> args{"tree"};
        if (!expandAll) args.push_back("--collapsed");
        args.push_back(file);
        const ProcessResult r = Run(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, expected) << (expandAll ? "expanded" : "collapsed");
    }
    // Nothing below the container the window marks as too deep.
    const ProcessResult deep = Run({"tree", File("deep.json", std::string(300, '[') + std::string(300, ']'))});
    EXPECT_EQ(std::count(deep.out.begin(), deep.out.end(), '\n'), kDeepestShownDepth + 1);
    EXPECT_TRUE(deep.out.ends_with(std::string(kTooDeepMark) + "\n"));
    // A line break inside a value does not split its item's line.
    const ProcessResult broken = Run({"tree", File("lf.json", "{\"a\":\"x\\ny\\tz\",\"b\":1}")});
    EXPECT_EQ(std::count(broken.out.begin(), broken.out.end(), '\n'), 3);
    EXPECT_NE(broken.out.find("a \"x\\ny\\tz\""), std::string::npos) << broken.out;
}

TEST_F(KovajsonTest, GoToCodeAndLocateShowWhatSelectingTheNodeShows) {
    const struct {
        std::string_view json;
        const char* path;
        const char* where; // locate: the node's first and last character, CR LF one line break
    } cases[] = {
        {kObjectJson, "//a\\.b\\\\c.x[3]", "2:41-2:44"},
        {kObjectJson, "//a\\.b\\\\c", "2:26-2:76"},
        {kObjectJson, "名字", "2:10-2:13"},
        {kObjectJson, "//list[1].[1]", "3:12-3:25"},
        {kObjectJson, "//list.[2].k", "3:35-3:39"},
        {kObjectJson, "//a\\.b\\\\c.x.[5]", "2:53-2:56"},
        {kArrayJson, "//[2][2]", "1:16-1:21"},
        {kArrayJson, "//[1].x", "1:8-1:8"},
        {kArrayJson, "//[4]", "1:30-1:31"},
    };
    for (const auto& c : cases) {
        const std::string file = File("doc.json", c.json);
        const JsonModel model = Parsed(c.json);
        ResultTreeModel tree;
        tree.Rebuild(model);
        const GoToResult found = GoToPath(tree, c.path);
        ASSERT_EQ(found.outcome, GoToResult::kFound) << c.path;
        CurrentNode current;
        const auto texts = NodePanel(tree, model, found.item, current);
        ASSERT_TRUE(texts.has_value());

        const ProcessResult go = Run({"goto", c.path, file});
        EXPECT_EQ(go.status, 0) << go.err;
        EXPECT_EQ(go.out, texts->path + "\t" + std::string(texts->typeName) + "\n" + texts->content + "\n") << c.path;
        const ProcessResult code = Run({"code", c.path, file});
        EXPECT_EQ(code.status, 0) << code.err;
        EXPECT_EQ(code.out, texts->code + "\n") << c.path;
        const ProcessResult locate = Run({"locate", c.path}, file);
        EXPECT_EQ(locate.status, 0) << locate.err;
        EXPECT_EQ(locate.out, std::string(c.where) + "\n") << c.path;
    }
}

TEST_F(KovajsonTest, FailuresPrintTheProgramsMessages) {
    const std::string doc = File("doc.json", kObjectJson);
    const struct {
        std::vector<std::string> args;
        std::string input; // file contents; empty: doc
        int status;
        std::string message;
    } cases[] = {
        {{"goto", "//"}, "", 2, std::string(kUnparsablePathMessage)},
        {{"code", "//nope"}, "", 2, std::string(kPathNotFoundMessage)},
        {{"goto", "//[1]"}, "", 2, std::string(kPathNotFoundMessage)},
        {{"locate", "//a["}, "", 2, std::string(kPathNotFoundMessage)},
        {{"locate", "//"}, "", 2, std::string(kUnparsablePathMessage)},
        {{"locate", "//a"}, "{\"a\":\r1 2}", 1, std::string(kObjectLoadFailed) + "\n位置：第 2 行，第 3 列"},
        {{"format"}, "not json", 1, kUnknownJsonType},
        {{"compress"}, "\xEF\xBB\xBF\xEF\xBB\xBF{}", 1, kUnknownJsonType},
        {{"tree"}, "{\"a\":", 1, std::string(kObjectLoadFailed) + "\n位置：第 1 行，第 6 列"},
        {{"goto", "//a"}, "[1,\r\n\"汉字\" 2]", 1, std::string(kArrayLoadFailed) + "\n位置：第 2 行，第 6 列"},
        {{"find", "a"}, "{\"b\": [1, 2,, 3]}", 1, std::string(kObjectLoadFailed) + "\n位置：第 1 行，第 13 列"},
        {{"find", "zZ"}, "", 2, "找不到“zZ”"},
        // The place is counted in the text as given, not in the one its escapes were decoded into.
        {{"format"}, "{\"a\":\"\\u4e2d\\n\" x}", 1, std::string(kObjectLoadFailed) + "\n位置：第 1 行，第 17 列"},
        {{"compress"}, "[\"\\r\\n\",\r\n nul]", 1, std::string(kArrayLoadFailed) + "\n位置：第 2 行，第 2 列"},
        {{"load-code", "--source", "web"}, " ", 1, kUnknownJsonType},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(c.input.empty() ? doc : File("bad.json", c.input));
        const ProcessResult r = Run(args);
        EXPECT_EQ(r.status, c.status) << args[0];
        EXPECT_EQ(r.err, std::string(c.message) + "\n") << args[0];
        EXPECT_EQ(r.out, "") << args[0];
    }
    const ProcessResult piped = Run({"compress"}, File("piped.json", "[\"\\r\\n\",\r\n nul]"));
    EXPECT_EQ(piped.err, std::string(kArrayLoadFailed) + "\n位置：第 2 行，第 2 列\n") << "on standard input";
    const ProcessResult missing = Run({"format", (dir_ / "missing.json").string()});
    EXPECT_EQ(missing.status, 66);
    EXPECT_EQ(missing.err, std::string(kFileMissing) + "\n");
}

// find: the path of every node whose key or shown value holds the text, as Ctrl+F visits them.
TEST_F(KovajsonTest, FindPrintsThePathsOfTheMatches) {
    const std::string file = File("doc.json", kObjectJson);
    const ProcessResult r = Run({"find", "L", file});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "//a\\.b\\\\c.l\n//list\n//long\n") << "keys in any case; null shows nothing";
    const ProcessResult values = Run({"find", "汉"}, file);
    EXPECT_EQ(values.out, "//名字\n");
    // Keys with brackets or none at all: each path names its own node.
    const std::string odd = File("odd.json", R"({"c[1]": 5, "c": [7], "": {"": 6}})");
    EXPECT_EQ(Run({"find", "5", odd}).out, "//c\\[1\\]\n");
    EXPECT_EQ(Run({"goto", "//c\\[1\\]", odd}).out, "//c\\[1\\]\t整数型\n5\n");
    EXPECT_EQ(Run({"goto", "//].]", odd}).out, "//].]\t整数型\n6\n");
}

TEST_F(KovajsonTest, LoadingCodeAndKeyEscaping) {
    const struct {
        std::string_view json;
        const char* source;
        int comboIndex;
        std::string address;
    } cases[] = {
        {kObjectJson, "clipboard", 0, ""},
        {kArrayJson, "web", 1, "http://127.0.0.1/数据?a=1"},
        {kObjectJson, "file", 2, "C:\\data\\a.json"},
        {kArrayJson, "file", 2, ""},
    };
    for (const auto& c : cases) {
        const std::string file = File("doc.json", c.json);
        const std::string_view kind = SourceKindName(c.comboIndex);
        const std::string expected =
            LoadingCodeGenerator(kind, Parsed(c.json).kind, kind == kSourceWeb ? c.address : "",
                                 kind == kSourceFile ? c.address : "") +
            "\n";
        ASSERT_GT(expected.size(), 10u);
        const ProcessResult r = Run({"load-code", "--source", c.source, "--address=" + c.address, file});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, expected) << c.source;
    }
    for (const char* key : {"a.b\\c", "", "中.文", "--"}) {
        const ProcessResult r = Run({"escape-key", "--", key});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, kova::EscapeKeyName(key) + "\n") << key;
    }
}

TEST_F(KovajsonTest, UsageErrorsAndHelp) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"frobnicate"},
        {"format", "--pretty"},
        {"goto"},
        {"goto", ""},
        {"tree", "a.json", "b.json"},
        {"load-code", "x.json"},
        {"load-code", "--source", "ftp"},
        {"load-code", "--source"},
        {"escape-key", "a", "b"},
        {"find"},
        {"find", ""},
        {"locate"},
        {"compress", "--collapsed"},
    };
    for (const auto& args : wrong) {
        const ProcessResult r = Run(args);
        EXPECT_EQ(r.status, 64) << (args.empty() ? "no arguments" : args[0]);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: kovajson"), std::string::npos);
    }
    const ProcessResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: kovajson"), std::string::npos);
    const ProcessResult version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("kovajson ") + kVersion + "\n");
}
