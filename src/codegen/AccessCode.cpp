// The access table and the node access snippet.
#include "codegen/AccessCode.h"

#include "kova/CreateString.h"
#include "json/JsonModel.h"

#include <array>

namespace vivu {

namespace {

struct AccessTableEntry {
    int32_t typeCode;
    AccessRow row;
};

// Type 96 (wide text) reads through the same getter as type 6; type 0 has a test, not a getter.
constexpr std::array<AccessTableEntry, 12> kAccessTable = {{
    {0, {"<空>", "是否为空值", ""}},
    {1, {"整数型", "取整数", ""}},
    {2, {"长整数型", "取长整数", ""}},
    {3, {"双精度小数型", "取双精度小数", ""}},
    {4, {"小数型", "取小数", ""}},
    {5, {"逻辑型", "取逻辑值", ""}},
    {6, {"文本型", "取文本", ""}},
    {7, {"日期时间型", "取时间", ""}},
    {8, {"字节集", "取字节集", ""}},
    {11, {"存取键值表", "取键值表", "结果键值表"}},
    {12, {"存取列表", "取列表", "结果列表"}},
    {96, {"宽文本型", "取文本", ""}},
}};

// The host language's text literal marks.
constexpr std::string_view kOpenQuote = "“";
constexpr std::string_view kCloseQuote = "”";

constexpr std::string_view kVersionLine = ".版本 2";
constexpr std::string_view kLibraryLine = ".支持库 kova";
constexpr std::string_view kCallTemplate = "{1}.{2} ({3}{5}{4})";
constexpr std::string_view kDeclarationTemplate = ".局部变量 {1}, {2}";
constexpr std::string_view kCallIntoTemplate = "{1}.{2} ({3}{5}{4}, {6})";

} // namespace

AccessRow FindAccessRow(int32_t typeCode) {
    for (const AccessTableEntry& entry : kAccessTable)
        if (entry.typeCode == typeCode) return entry.row;
    return {};
}

std::string_view DeclarationTypeName(int32_t typeCode) {
    return FindAccessRow(typeCode).declarationType;
}

std::string_view RootVariableName(int32_t rootKind) {
    switch (rootKind) {
    case kRootObject:
        return "键值表";
    case kRootArray:
        return "列表";
    default:
        return {};
    }
}

std::vector<std::string> AccessCodeGenerator(int32_t rootKind, int32_t typeCode, std::string_view nodePath) {
    const std::string_view root = RootVariableName(rootKind);
    if (root.empty()) return {};
    const AccessRow row = FindAccessRow(typeCode);
    std::vector<std::string> lines{std::string(kVersionLine), std::string(kLibraryLine)};
    if (row.resultVariable.empty()) {
        lines.push_back(kova::CreateString(kCallTemplate, {root, row.getter, kOpenQuote, kCloseQuote, nodePath}));
    } else {
        lines.push_back(kova::CreateString(kDeclarationTemplate, {row.resultVariable, row.declarationType}));
        lines.push_back(kova::CreateString(kCallIntoTemplate,
                                           {root, row.getter, kOpenQuote, kCloseQuote, nodePath, row.resultVariable}));
    }
    return lines;
}

} // namespace vivu
