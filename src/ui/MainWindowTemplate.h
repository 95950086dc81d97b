// The main window's controls: names, kinds, parents, geometry, captions, fonts, anchors.
#pragma once

#include "app/ProgramVersion.h"
#include "ui/WindowTemplate.h"

#include <span>

namespace vivu {

// Every control keeps the name of the window template.
enum class MainControl : int {
    Window = 0,
    标签_标题 = 100,
    画板_选择夹,
    按钮_添加窗口,
    标签_工具条_顶边,
    选择夹_JSON,
    工具条_左,
    工具条_右,
    标签_工具条_底边,
    组合框_数据源,
    选择夹_来源,
    标签_编辑框,
    按钮_剪切板_粘贴,
    编辑框_网址,
    按钮_网址_转到,
    编辑框_文件路径,
    按钮_文件_选择,
    按钮_文件_重载,
    按钮_结果_返回,
    标签1,
    编辑框_结果_路径,
    按钮_结果_路径_转到,
    按钮_结果_复制,
    选择框_结果_全部展开,
    标签_树形框_背景,
    树型框_结果,
    编辑框_结果_类型,
    编辑框_结果_内容,
    编辑框_结果,
    按钮_代码_复制,
};

inline constexpr char kMainCaptionTemplate[] = "KOVA.Json助手{1}";
inline constexpr char kProductName[] = "KOVA.VivuDivezi";
inline constexpr int kMainLeft = 50, kMainTop = 50, kMainWidth = 657, kMainHeight = 468;

// In creation order: a tab control comes before the controls on its pages.
std::span<const ControlRow<MainControl>> MainWindowRows();

struct Anchors {
    MainControl id;
    int left, top, right, bottom;
};
// The controls that follow the window's edges when it is resized.
std::span<const Anchors> MainWindowAnchors();

// The toolbar buttons: caption, image index (-1 for a separator) and tooltip.
struct ToolbarButton {
    std::string_view caption;
    int image;
    std::string_view tooltip;
};
std::span<const ToolbarButton> LeftToolbarButtons();
std::span<const ToolbarButton> RightToolbarButtons();

} // namespace vivu
