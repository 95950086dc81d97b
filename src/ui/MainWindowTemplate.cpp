// The main window's template as tables.
#include "ui/MainWindowTemplate.h"

namespace vivu {

namespace {

using C = MainControl;
using K = ControlKind;
constexpr ControlParent<C> kWindow{};
constexpr ControlParent<C> Page(C tab, int page) {
    return {tab, page};
}
constexpr ControlFont kText{};

constexpr ControlRow<C> kRows[] = {
    // The tab control goes first so the title row, created after it, lies above its tab headers.
    {C::选择夹_JSON, K::Tab, kWindow, 0, 0, 656, 344, "解析\n结果", kText},
    {C::标签_标题, K::Label, kWindow, 2, 1, 150, 33, "{1}", {-16, true}},
    {C::画板_选择夹, K::Canvas, kWindow, 159, 1, 465, 33, "", {-12, false}},
    {C::按钮_添加窗口, K::Button, kWindow, 625, 1, 24, 34, "", {-14, true}},
    {C::标签_工具条_顶边, K::Rule, kWindow, 2, 35, 652, 2, "", kText},
    // page 0 "解析"
    {C::工具条_左, K::Toolbar, Page(C::选择夹_JSON, 0), 0, 38, 486, 63, "", kText},
    {C::工具条_右, K::Toolbar, Page(C::选择夹_JSON, 0), 596, 38, 56, 63, "", kText},
    {C::标签_工具条_底边, K::Rule, Page(C::选择夹_JSON, 0), 0, 99, 652, 2, "", kText},
    {C::组合框_数据源, K::ComboList, Page(C::选择夹_JSON, 0), 8, 108, 88, 28, "剪切板\n网址\n文件", kText},
    {C::选择夹_来源, K::Tab, Page(C::选择夹_JSON, 0), 96, 100, 552, 64, "剪切板\n网址\n文件", kText},
    {C::标签_编辑框, K::Label, Page(C::选择夹_JSON, 0), 8, 142, 632, 192, "", kText},
    {C::按钮_剪切板_粘贴, K::Button, Page(C::选择夹_来源, 0), 8, 8, 48, 28, "粘贴", kText},
    {C::编辑框_网址, K::Edit, Page(C::选择夹_来源, 1), 8, 8, 481, 28, "", kText},
    {C::按钮_网址_转到, K::IconButton, Page(C::选择夹_来源, 1), 496, 8, 48, 28, "", kText},
    {C::编辑框_文件路径, K::Edit, Page(C::选择夹_来源, 2), 8, 8, 424, 28, "", kText},
    {C::按钮_文件_选择, K::IconButton, Page(C::选择夹_来源, 2), 440, 8, 48, 28, "", kText},
    {C::按钮_文件_重载, K::IconButton, Page(C::选择夹_来源, 2), 496, 8, 48, 28, "", kText},
    // page 1 "结果"
    {C::按钮_结果_返回, K::IconButton, Page(C::选择夹_JSON, 1), 8, 46, 48, 28, "", kText},
    {C::标签1, K::Label, Page(C::选择夹_JSON, 1), 64, 47, 72, 28, "表达式：", kText},
    {C::编辑框_结果_路径, K::Edit, Page(C::选择夹_JSON, 1), 136, 47, 290, 28, "", kText},
    {C::按钮_结果_路径_转到, K::Button, Page(C::选择夹_JSON, 1), 434, 46, 48, 28, "转到", kText},
    {C::按钮_结果_复制, K::Button, Page(C::选择夹_JSON, 1), 490, 46, 48, 28, "复制", kText},
    {C::选择框_结果_全部展开, K::CheckBox, Page(C::选择夹_JSON, 1), 552, 46, 88, 28, "全部展开", kText},
    {C::标签_树形框_背景, K::Label, Page(C::选择夹_JSON, 1), 8, 85, 352, 249, "", kText},
    {C::树型框_结果, K::TreeView, Page(C::选择夹_JSON, 1), 8, 85, 352, 249, "", {-12, false}},
    {C::编辑框_结果_类型, K::Edit, Page(C::选择夹_JSON, 1), 368, 85, 274, 28, "", kText},
    {C::编辑框_结果_内容, K::LongTextEdit, Page(C::选择夹_JSON, 1), 368, 122, 274, 212, "", kText},
    // below the tab control; the copy button lies over the code box
    {C::按钮_代码_复制, K::Button, kWindow, 577, 346, 48, 28, "复制", kText},
    {C::编辑框_结果, K::RichEdit, kWindow, 8, 344, 634, 88, "", kText},
};

constexpr Anchors kAnchors[] = {
    {C::按钮_添加窗口, 0, 1, 1, 0},
    {C::工具条_左, 1, 1, 0, 0},
    {C::工具条_右, 0, 1, 1, 0},
    {C::画板_选择夹, 1, 1, 1, 0},
    {C::标签_工具条_顶边, 1, 1, 1, 0},
    {C::标签_工具条_底边, 1, 1, 1, 0},
    {C::选择夹_JSON, 1, 1, 1, 1},
    {C::选择夹_来源, 1, 1, 1, 0},
    {C::组合框_数据源, 1, 1, 0, 0},
    {C::按钮_剪切板_粘贴, 1, 1, 0, 0},
    {C::编辑框_网址, 1, 1, 1, 0},
    {C::按钮_网址_转到, 0, 1, 1, 0},
    {C::编辑框_文件路径, 1, 1, 1, 0},
    {C::按钮_文件_选择, 0, 1, 1, 0},
    {C::按钮_文件_重载, 0, 1, 1, 0},
    {C::标签_编辑框, 1, 1, 1, 1},
    {C::编辑框_结果, 1, 0, 1, 1},
    {C::按钮_代码_复制, 0, 0, 1, 1},
    {C::按钮_结果_返回, 1, 1, 0, 0},
    {C::编辑框_结果_路径, 1, 1, 1, 0},
    {C::按钮_结果_复制, 0, 1, 1, 0},
    {C::按钮_结果_路径_转到, 0, 1, 1, 0},
    {C::选择框_结果_全部展开, 0, 1, 1, 0},
    {C::标签_树形框_背景, 1, 1, 1, 1},
    {C::编辑框_结果_类型, 0, 1, 1, 0},
    {C::编辑框_结果_内容, 0, 1, 1, 1},
};

constexpr ToolbarButton kLeftButtons[] = {
    {"解析", 63, ""},
    {"", -1, ""},
    {"格式化", 119, ""},
    {"压缩", 120, ""},
    {"主键名", 75, "把指定的名称转为KOVA的表达式主键名"},
    {"", -1, ""},
    {"复制", 97, ""},
    {"粘贴", 124, ""},
    {"清空", 138, ""},
    {"", -1, ""},
    {"撤销", 122, ""},
    {"重复", 123, ""},
};

constexpr ToolbarButton kRightButtons[] = {{"关于", 111, ""}};

} // namespace

std::span<const ControlRow<MainControl>> MainWindowRows() {
    return kRows;
}
std::span<const Anchors> MainWindowAnchors() {
    return kAnchors;
}
std::span<const ToolbarButton> LeftToolbarButtons() {
    return kLeftButtons;
}
std::span<const ToolbarButton> RightToolbarButtons() {
    return kRightButtons;
}

} // namespace vivu
