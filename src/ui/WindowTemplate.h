// A window's controls as data: one row per control, built by one builder.
#pragma once

#include <string_view>

namespace vivu {

enum class ControlKind {
    Label,      // static text
    Rule,       // a 2-pixel etched line
    Canvas,     // an owner-painted surface
    Button,     // push button with a caption
    IconButton, // push button showing an icon only
    CheckBox,
    Edit,          // single-line edit box
    MultiLineEdit, // multi-line, vertical scroll bar
    LongTextEdit,  // the same for texts with very long lines (the Scintilla control, see LongTextBox.h)
    ComboList,     // drop-down list
    Tab,           // tab control; its pages' controls are its children
    Toolbar,
    TreeView,
    RichEdit,
};

struct ControlFont {
    int height = -14; // LOGFONT height
    bool bold = false;
};

// Where a control lives: the window itself, or page `page` of a tab control.
template <typename Id> struct ControlParent {
    Id tab{};      // Id{} (0) is the window
    int page = -1; // page of tab, -1 for the window
};

template <typename Id> struct ControlRow {
    Id id;
    ControlKind kind;
    ControlParent<Id> parent;
    int x, y, width, height; // in the parent's client coordinates
    std::string_view caption;
    ControlFont font;
};

} // namespace vivu
