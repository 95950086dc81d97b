// The six loading templates and the choice between them.
#include "codegen/LoadingCode.h"

#include "kova/CreateString.h"
#include "json/JsonModel.h"

namespace vivu {

namespace {

constexpr std::string_view kWebTableTemplate = ".版本 2\r\n"
                                               ".支持库 kova\r\n"
                                               ".局部变量 键值表, 存取键值表\r\n"
                                               ".如果真 (键值表.从网络加载 (“{1}”, , , ))\r\n"
                                               "    ' // 处理键值表";

constexpr std::string_view kWebListTemplate = ".版本 2\r\n"
                                              ".支持库 kova\r\n"
                                              ".局部变量 列表, 存取列表\r\n"
                                              ".如果真 (列表.从网络加载 (“{1}”, , , ))\r\n"
                                              "    ' // 处理列表";

constexpr std::string_view kFileTableTemplate = ".版本 2\r\n"
                                                ".支持库 kova\r\n"
                                                ".局部变量 键值表, 存取键值表\r\n"
                                                ".局部变量 文件路径, 文本型\r\n"
                                                "文件路径 ＝ “{1}”\r\n"
                                                ".如果真 (键值表.从JSON载入 (读入文本文件 (文件路径, ), , ))\r\n"
                                                "    ' // 处理键值表";

constexpr std::string_view kFileListTemplate = ".版本 2\r\n"
                                               ".支持库 kova\r\n"
                                               ".局部变量 列表, 存取列表\r\n"
                                               ".局部变量 文件路径, 文本型\r\n"
                                               "文件路径 ＝ “{1}”\r\n"
                                               ".如果真 (列表.从JSON载入 (读入文本文件 (文件路径, ), , ))\r\n"
                                               "    ' // 处理列表";

// The clipboard case loads from a variable named JSON in the user's program.
constexpr std::string_view kClipboardTableTemplate = ".版本 2\r\n"
                                                     ".支持库 kova\r\n"
                                                     ".局部变量 键值表, 存取键值表\r\n"
                                                     ".如果真 (键值表.从JSON载入 (JSON, , ))\r\n"
                                                     "    ' // 处理键值表";

constexpr std::string_view kClipboardListTemplate = ".版本 2\r\n"
                                                    ".支持库 kova\r\n"
                                                    ".局部变量 列表, 存取列表\r\n"
                                                    ".如果真 (列表.从JSON载入 (JSON, , ))\r\n"
                                                    "    ' // 处理列表";

} // namespace

std::string_view SourceKindName(int comboIndex) {
    switch (comboIndex) {
    case 1:
        return kSourceWeb;
    case 2:
        return kSourceFile;
    default:
        return kSourceClipboard;
    }
}

std::string_view LoadingCodeTemplate(std::string_view sourceKind, int32_t rootKind) {
    if (rootKind != kRootObject && rootKind != kRootArray) return {};
    const bool table = rootKind == kRootObject;
    if (sourceKind == kSourceWeb) return table ? kWebTableTemplate : kWebListTemplate;
    if (sourceKind == kSourceFile) return table ? kFileTableTemplate : kFileListTemplate;
    return table ? kClipboardTableTemplate : kClipboardListTemplate;
}

std::string LoadingCodeGenerator(std::string_view sourceKind, int32_t rootKind, std::string_view webAddress,
                                 std::string_view filePath) {
    const std::string_view pattern = LoadingCodeTemplate(sourceKind, rootKind);
    if (pattern.empty()) return {};
    if (sourceKind == kSourceWeb) return kova::CreateString(pattern, {webAddress});
    if (sourceKind == kSourceFile) return kova::CreateString(pattern, {filePath});
    return std::string(pattern);
}

} // namespace vivu
