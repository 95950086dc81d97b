// Rows of the main window's registration table: what widening by 200 and heightening by 100 does to each control.
#include "layout_fake_host.h"
#include "ui/LayoutManager.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

using layout_test::FakeLayoutHost;
using vivu::LayoutHandle;
using vivu::LayoutManager;
using vivu::LayoutRect;

namespace {

struct Row {
    const char* name;
    int32_t left, top, width, height; // template geometry, in the parent's client coordinates
    int32_t anchorLeft, anchorTop, anchorRight, anchorBottom;
    int32_t newLeft, newTop, newWidth, newHeight;
};

// Children of the window, of the tab control's pages and of the source tab's pages alike.
const Row kRows[] = {
    {"按钮_添加窗口", 625, 1, 24, 34, 0, 1, 1, 0, 825, 1, 24, 34},
    {"工具条_左", 0, 38, 486, 63, 1, 1, 0, 0, 0, 38, 486, 63},
    {"工具条_右", 596, 38, 56, 63, 0, 1, 1, 0, 796, 38, 56, 63},
    {"画板_选择夹", 159, 1, 465, 33, 1, 1, 1, 0, 159, 1, 665, 33},
    {"标签_工具条_底边", 0, 99, 652, 2, 1, 1, 1, 0, 0, 99, 852, 2},
    {"选择夹_JSON", 0, 0, 656, 344, 1, 1, 1, 1, 0, 0, 856, 444},
    {"组合框_数据源", 8, 108, 88, 28, 1, 1, 0, 0, 8, 108, 88, 28},
    {"编辑框_网址", 8, 8, 481, 28, 1, 1, 1, 0, 8, 8, 681, 28},
    {"按钮_网址_转到", 496, 8, 48, 28, 0, 1, 1, 0, 696, 8, 48, 28},
    {"标签_编辑框", 8, 142, 632, 192, 1, 1, 1, 1, 8, 142, 832, 292},
    {"编辑框_结果", 8, 344, 634, 88, 1, 0, 1, 1, 8, 444, 834, 88},
    {"按钮_代码_复制", 577, 346, 48, 28, 0, 0, 1, 1, 777, 446, 48, 28},
    {"按钮_结果_路径_转到", 434, 46, 48, 28, 0, 1, 1, 0, 634, 46, 48, 28},
    {"选择框_结果_全部展开", 552, 46, 88, 28, 0, 1, 1, 0, 752, 46, 88, 28},
    {"标签_树形框_背景", 8, 85, 352, 249, 1, 1, 1, 1, 8, 85, 552, 349},
    {"编辑框_结果_类型", 368, 85, 274, 28, 0, 1, 1, 0, 568, 85, 274, 28},
    {"编辑框_结果_内容", 368, 122, 274, 212, 0, 1, 1, 1, 568, 122, 274, 312},
};

} // namespace

TEST(MainWindowLayout, WiderAndTallerWindow) {
    FakeLayoutHost host;
    host.frame = {4, 4};
    LayoutManager manager(host);
    const LayoutHandle window = host.Add({0, 0, 641, 430});
    manager.Bind(window);
    std::vector<LayoutHandle> controls;
    for (const Row& r : kRows) {
        controls.push_back(host.Add({r.left, r.top, r.left + r.width, r.top + r.height}));
        manager.Register(controls.back(), r.anchorLeft, r.anchorTop, r.anchorRight, r.anchorBottom);
    }
    // 200 wider and 100 taller once the sizing frame is taken off.
    host.At(window) = {0, 0, 641 + 200 + 4, 430 + 100 + 4};
    ASSERT_TRUE(manager.Relayout());
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const Row& r = kRows[i];
        SCOPED_TRACE(r.name);
        EXPECT_EQ(host.At(controls[i]),
                  (LayoutRect{r.newLeft, r.newTop, r.newLeft + r.newWidth, r.newTop + r.newHeight}));
    }
}
