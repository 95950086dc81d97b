// The access table and the node access snippet for both document kinds.
#include "codegen/AccessCode.h"
#include "codegen/CodeLines.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace vivu;

namespace {

constexpr int32_t kObjectRoot = 11;
constexpr int32_t kArrayRoot = 12;

struct TableRow {
    int32_t typeCode;
    const char* declarationType;
    const char* getter;
    const char* resultVariable;
};

const TableRow kTable[] = {
    {0, "<空>", "是否为空值", ""},
    {1, "整数型", "取整数", ""},
    {2, "长整数型", "取长整数", ""},
    {3, "双精度小数型", "取双精度小数", ""},
    {4, "小数型", "取小数", ""},
    {5, "逻辑型", "取逻辑值", ""},
    {6, "文本型", "取文本", ""},
    {7, "日期时间型", "取时间", ""},
    {8, "字节集", "取字节集", ""},
    {11, "存取键值表", "取键值表", "结果键值表"},
    {12, "存取列表", "取列表", "结果列表"},
    {96, "宽文本型", "取文本", ""},
    // Codes next to the table's rows and at the ends of the range are not in it.
    {-1, "", "", ""},
    {9, "", "", ""},
    {10, "", "", ""},
    {13, "", "", ""},
    {95, "", "", ""},
    {97, "", "", ""},
    {INT32_MIN, "", "", ""},
    {INT32_MAX, "", "", ""},
};

TEST(AccessTable, RowsByTypeCode) {
    for (const TableRow& expected : kTable) {
        SCOPED_TRACE(expected.typeCode);
        const AccessRow row = FindAccessRow(expected.typeCode);
        EXPECT_EQ(row.declarationType, expected.declarationType);
        EXPECT_EQ(row.getter, expected.getter);
        EXPECT_EQ(row.resultVariable, expected.resultVariable);
        EXPECT_EQ(DeclarationTypeName(expected.typeCode), expected.declarationType);
    }
}

TEST(AccessTable, RootVariableNames) {
    EXPECT_EQ(RootVariableName(kObjectRoot), "键值表");
    EXPECT_EQ(RootVariableName(kArrayRoot), "列表");
    for (int32_t kind : {0, 1, 6, 10, 13, -11}) EXPECT_EQ(RootVariableName(kind), "") << kind;
}

struct SnippetCase {
    const char* name;
    int32_t rootKind;
    int32_t typeCode;
    std::string path;
    std::vector<std::string> lines;
};

const std::vector<SnippetCase> kSnippets = {
    {"integer member", kObjectRoot, 1, "//age", {".版本 2", ".支持库 kova", "键值表.取整数 (“//age”)"}},
    {"text member", kObjectRoot, 6, "//name", {".版本 2", ".支持库 kova", "键值表.取文本 (“//name”)"}},
    {"wide text shares the text getter", kObjectRoot, 96, "//w", {".版本 2", ".支持库 kova", "键值表.取文本 (“//w”)"}},
    {"double", kArrayRoot, 3, "//[2]", {".版本 2", ".支持库 kova", "列表.取双精度小数 (“//[2]”)"}},
    {"float", kArrayRoot, 4, "//[2]", {".版本 2", ".支持库 kova", "列表.取小数 (“//[2]”)"}},
    {"null element tests instead of reading",
     kArrayRoot,
     0,
     "//[3]",
     {".版本 2", ".支持库 kova", "列表.是否为空值 (“//[3]”)"}},
    {"object member declares a table",
     kObjectRoot,
     11,
     "//a",
     {".版本 2", ".支持库 kova", ".局部变量 结果键值表, 存取键值表", "键值表.取键值表 (“//a”, 结果键值表)"}},
    {"list inside the first element",
     kArrayRoot,
     12,
     "//[1].tags",
     {".版本 2", ".支持库 kova", ".局部变量 结果列表, 存取列表", "列表.取列表 (“//[1].tags”, 结果列表)"}},
    {"list member of a table",
     kObjectRoot,
     12,
     "//a.b",
     {".版本 2", ".支持库 kova", ".局部变量 结果列表, 存取列表", "键值表.取列表 (“//a.b”, 结果列表)"}},
    {"unknown type has an empty getter", kObjectRoot, 42, "//x", {".版本 2", ".支持库 kova", "键值表. (“//x”)"}},
    {"escaped dot stays escaped", kObjectRoot, 6, "//a\\.b", {".版本 2", ".支持库 kova", "键值表.取文本 (“//a\\.b”)"}},
    {"escaped backslash stays escaped",
     kObjectRoot,
     5,
     "//c\\\\d\\.e",
     {".版本 2", ".支持库 kova", "键值表.取逻辑值 (“//c\\\\d\\.e”)"}},
    // The path is an argument, never part of the template: no placeholder or quote pair in it is expanded.
    {"template marks in the path are literal",
     kArrayRoot,
     7,
     "//{1}''\\n",
     {".版本 2", ".支持库 kova", "列表.取时间 (“//{1}''\\n”)"}},
    {"Chinese key", kObjectRoot, 8, "//数据.图片", {".版本 2", ".支持库 kova", "键值表.取字节集 (“//数据.图片”)"}},
    {"long in a list", kArrayRoot, 2, "//[10][2]", {".版本 2", ".支持库 kova", "列表.取长整数 (“//[10][2]”)"}},
};

TEST(AccessCodeGenerator, LinesForEachKindOfNode) {
    for (const SnippetCase& c : kSnippets) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AccessCodeGenerator(c.rootKind, c.typeCode, c.path), c.lines);
    }
}

TEST(AccessCodeGenerator, NoDocumentGivesNoLines) {
    for (int32_t kind : {0, 1, 6, 13, -1})
        for (int32_t type : {0, 6, 11, 12}) EXPECT_TRUE(AccessCodeGenerator(kind, type, "//a").empty()) << kind;
}

TEST(CodeLines, JoinedWithCrLfAndNoFinalBreak) {
    EXPECT_EQ(JoinCodeLines({}), "");
    EXPECT_EQ(JoinCodeLines({"a"}), "a");
    EXPECT_EQ(JoinCodeLines({"", ""}), "\r\n");
    EXPECT_EQ(JoinCodeLines(AccessCodeGenerator(kObjectRoot, 11, "//a")),
              ".版本 2\r\n.支持库 kova\r\n.局部变量 结果键值表, 存取键值表\r\n键值表.取键值表 (“//a”, 结果键值表)");
}

} // namespace
