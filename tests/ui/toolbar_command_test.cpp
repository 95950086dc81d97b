// The toolbar dispatches on the clicked button's caption.
#include "ui/MainWindowTemplate.h"
#include "ui/ToolbarCommand.h"

#include <gtest/gtest.h>

#include <set>

using vivu::ToolbarCommand;
using vivu::ToolbarCommandOfCaption;

TEST(ToolbarDispatch, EveryButtonOfBothToolbarsHasItsOwnCommand) {
    std::set<ToolbarCommand> seen;
    int buttons = 0;
    for (auto toolbar : {vivu::LeftToolbarButtons(), vivu::RightToolbarButtons()}) {
        for (const auto& button : toolbar) {
            if (button.image < 0) {
                EXPECT_EQ(ToolbarCommandOfCaption(button.caption), ToolbarCommand::None) << "separator";
                continue;
            }
            ++buttons;
            const ToolbarCommand command = ToolbarCommandOfCaption(button.caption);
            EXPECT_NE(command, ToolbarCommand::None) << button.caption;
            EXPECT_TRUE(seen.insert(command).second) << button.caption << " shares a command";
        }
    }
    EXPECT_EQ(buttons, 10);
}

TEST(ToolbarDispatch, CaptionsMatchExactlyOrDoNothing) {
    EXPECT_EQ(ToolbarCommandOfCaption("格式化"), ToolbarCommand::Format);
    EXPECT_EQ(ToolbarCommandOfCaption("压缩"), ToolbarCommand::Compress);
    EXPECT_EQ(ToolbarCommandOfCaption("关于"), ToolbarCommand::About);
    EXPECT_EQ(ToolbarCommandOfCaption("清空"), ToolbarCommand::Clear);
    for (const char* near : {"", "格式化 ", " 压缩", "格式", "关于(&A)", "about", "复制复制"})
        EXPECT_EQ(ToolbarCommandOfCaption(near), ToolbarCommand::None) << near;
}
