// What the session asks of the main window, which carries out what the session decides.
#pragma once

#include "app/Settings.h"

#include <optional>
#include <string>

namespace vivu {

// The four boxes whose contents the settings keep.
struct SourceBoxes {
    std::string web;        // 编辑框_网址
    std::string file;       // 编辑框_文件路径
    int sourceIndex = 0;    // 组合框_数据源: 0 clipboard, 1 web, 2 file
    bool expandAll = false; // 选择框_结果_全部展开
};

class SessionWindow {
public:
    virtual ~SessionWindow() = default;

    // The work area of the monitor that holds most of rect.
    virtual ScreenArea WorkAreaOf(const WindowRect& rect) = 0;
    // Moves the window to rect when there is one; maximised: it opens maximised.
    virtual void PlaceWindow(const std::optional<WindowRect>& rect, bool maximised) = 0;
    virtual SourceBoxes ReadSourceBoxes() = 0;
    // Fills the boxes; the source page and the loading code follow the combo box.
    virtual void ShowSourceBoxes(const SourceBoxes& boxes) = 0;
    // The file source's load of the file named in its box, with its messages (重载).
    virtual void LoadFileSource() = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool Ask(const std::string& text, const std::string& title) = 0;
    virtual void ShowFailure(const std::string& text, const std::string& title) = 0;
};

} // namespace vivu
