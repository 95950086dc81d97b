#include "ui/ToolbarCommand.h"

#include <utility>

namespace vivu {

ToolbarCommand ToolbarCommandOfCaption(std::string_view caption) {
    static constexpr std::pair<std::string_view, ToolbarCommand> kTable[] = {
        {"复制", ToolbarCommand::Copy},     {"粘贴", ToolbarCommand::Paste},    {"清空", ToolbarCommand::Clear},
        {"格式化", ToolbarCommand::Format}, {"压缩", ToolbarCommand::Compress}, {"撤销", ToolbarCommand::Undo},
        {"重复", ToolbarCommand::Redo},     {"解析", ToolbarCommand::Parse},    {"主键名", ToolbarCommand::KeyName},
        {"关于", ToolbarCommand::About},
    };
    for (const auto& [text, command] : kTable)
        if (text == caption) return command;
    return ToolbarCommand::None;
}

} // namespace vivu
