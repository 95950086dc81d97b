// Source kind names and the six loading templates, filled and empty.
#include "codegen/CodeLines.h"
#include "codegen/LoadingCode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vivu;

namespace {

constexpr int32_t kObjectRoot = 11;
constexpr int32_t kArrayRoot = 12;

TEST(SourceKindName, ByComboIndex) {
    const struct {
        int index;
        const char* name;
    } rows[] = {{-1, "Clipboard"}, {0, "Clipboard"}, {1, "Web"}, {2, "File"}, {3, "Clipboard"}, {100, "Clipboard"}};
    for (const auto& row : rows) EXPECT_EQ(SourceKindName(row.index), row.name) << row.index;
}

struct LoadingCase {
    const char* name;
    std::string_view source;
    int32_t rootKind;
    std::string address;
    std::string path;
    std::vector<std::string> lines;
};

const std::vector<LoadingCase> kCases = {
    {"web, table",
     "Web",
     kObjectRoot,
     "http://127.0.0.1:8080/a.json?x=1&y=2",
     "C:\\unused.json",
     {".版本 2", ".支持库 kova", ".局部变量 键值表, 存取键值表",
      ".如果真 (键值表.从网络加载 (“http://127.0.0.1:8080/a.json?x=1&y=2”, , , ))", "    ' // 处理键值表"}},
    {"web, list",
     "Web",
     kArrayRoot,
     "https://例子.cn/数据",
     "",
     {".版本 2", ".支持库 kova", ".局部变量 列表, 存取列表", ".如果真 (列表.从网络加载 (“https://例子.cn/数据”, , , ))",
      "    ' // 处理列表"}},
    {"web, empty address",
     "Web",
     kObjectRoot,
     "",
     "",
     {".版本 2", ".支持库 kova", ".局部变量 键值表, 存取键值表", ".如果真 (键值表.从网络加载 (“”, , , ))",
      "    ' // 处理键值表"}},
    {"file, table",
     "File",
     kObjectRoot,
     "http://unused",
     "C:\\data\\a.json",
     {".版本 2", ".支持库 kova", ".局部变量 键值表, 存取键值表", ".局部变量 文件路径, 文本型",
      "文件路径 ＝ “C:\\data\\a.json”", ".如果真 (键值表.从JSON载入 (读入文本文件 (文件路径, ), , ))",
      "    ' // 处理键值表"}},
    {"file, list",
     "File",
     kArrayRoot,
     "",
     "D:\\新建文件夹\\list.json",
     {".版本 2", ".支持库 kova", ".局部变量 列表, 存取列表", ".局部变量 文件路径, 文本型",
      "文件路径 ＝ “D:\\新建文件夹\\list.json”", ".如果真 (列表.从JSON载入 (读入文本文件 (文件路径, ), , ))",
      "    ' // 处理列表"}},
    // Backslash escapes, quote pairs and placeholders in the path are the user's text, not template syntax.
    {"file, template marks in the path",
     "File",
     kObjectRoot,
     "",
     "C:\\n\\t\\{1}''``\\",
     {".版本 2", ".支持库 kova", ".局部变量 键值表, 存取键值表", ".局部变量 文件路径, 文本型",
      "文件路径 ＝ “C:\\n\\t\\{1}''``\\”", ".如果真 (键值表.从JSON载入 (读入文本文件 (文件路径, ), , ))",
      "    ' // 处理键值表"}},
    {"clipboard, table",
     "Clipboard",
     kObjectRoot,
     "http://unused",
     "C:\\unused.json",
     {".版本 2", ".支持库 kova", ".局部变量 键值表, 存取键值表", ".如果真 (键值表.从JSON载入 (JSON, , ))",
      "    ' // 处理键值表"}},
    {"clipboard, list",
     "Clipboard",
     kArrayRoot,
     "http://unused",
     "C:\\unused.json",
     {".版本 2", ".支持库 kova", ".局部变量 列表, 存取列表", ".如果真 (列表.从JSON载入 (JSON, , ))",
      "    ' // 处理列表"}},
    {"unknown source counts as clipboard",
     "ftp",
     kArrayRoot,
     "x",
     "y",
     {".版本 2", ".支持库 kova", ".局部变量 列表, 存取列表", ".如果真 (列表.从JSON载入 (JSON, , ))",
      "    ' // 处理列表"}},
};

TEST(LoadingCodeGenerator, EveryTemplateFilled) {
    for (const LoadingCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadingCodeGenerator(c.source, c.rootKind, c.address, c.path), JoinCodeLines(c.lines));
    }
}

TEST(LoadingCodeGenerator, ComboIndexToSnippet) {
    // The window's path: the combo box index through SourceKindName into the generator.
    EXPECT_EQ(LoadingCodeGenerator(SourceKindName(2), kArrayRoot, "http://a", "C:\\b.json"),
              JoinCodeLines({".版本 2", ".支持库 kova", ".局部变量 列表, 存取列表", ".局部变量 文件路径, 文本型",
                             "文件路径 ＝ “C:\\b.json”", ".如果真 (列表.从JSON载入 (读入文本文件 (文件路径, ), , ))",
                             "    ' // 处理列表"}));
    EXPECT_EQ(LoadingCodeGenerator(SourceKindName(-1), kObjectRoot, "http://a", "C:\\b.json"),
              LoadingCodeTemplate("Clipboard", kObjectRoot));
}

TEST(LoadingCodeGenerator, NoDocumentGivesEmptyText) {
    for (std::string_view source : {"Clipboard", "Web", "File"}) {
        for (int32_t kind : {0, 1, 6, 13, -1}) {
            EXPECT_EQ(LoadingCodeGenerator(source, kind, "http://a", "C:\\a.json"), "") << source << " " << kind;
            EXPECT_EQ(LoadingCodeTemplate(source, kind), "") << source << " " << kind;
        }
    }
}

} // namespace
