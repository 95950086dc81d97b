// Fonts, colours and settings of the JSON editors, sent in a fixed order.
#include "editor/EditorStyle.h"

#include <Scintilla.h>

namespace vivu {

namespace {

constexpr intptr_t Rgb(int red, int green, int blue) {
    return red + green * 256 + blue * 65536;
}

constexpr int kStyleDefault = STYLE_DEFAULT;         // 32
constexpr int kStyleLineNumber = STYLE_LINENUMBER;   // 33
constexpr int kStyleIndentGuide = STYLE_INDENTGUIDE; // 37

} // namespace

void ConfigureEditor(CodeEditor& editor, HWND parent, int lexer) {
    // Sent even when Create fails: the editor then has no control and ignores them.
    editor.Create(parent);
    editor.SetUtf8(true);
    editor.SetLexer(lexer);
    editor.SendEditorMessage(SCI_SETHSCROLLBAR, 0);
    editor.SendEditorMessage(SCI_SETVSCROLLBAR, 1);
    editor.SendEditorMessage(SCI_SETWRAPMODE, SC_WRAP_CHAR);
    editor.StyleSetFont(kStyleDefault, "黑体");
    editor.SendEditorMessage(SCI_STYLESETSIZE, kStyleDefault, 10);
    editor.SendEditorMessage(SCI_SETEXTRAASCENT, 2);
    editor.SendEditorMessage(SCI_SETEXTRADESCENT, 2);
    editor.SendEditorMessage(SCI_SETCARETPERIOD, 500);
    editor.SendEditorMessage(SCI_SETCARETWIDTH, 2);
    editor.SendEditorMessage(SCI_SETCARETLINEVISIBLE, 1);
    editor.SendEditorMessage(SCI_SETCARETLINEBACK, Rgb(209, 254, 203));
    editor.SendEditorMessage(SCI_SETMOUSEDWELLTIME, 500);
    editor.SendEditorMessage(SCI_CALLTIPSETBACK, Rgb(255, 255, 225));
    editor.SendEditorMessage(SCI_CALLTIPSETFORE, 0);
    editor.SendEditorMessage(SCI_CALLTIPSETFOREHLT, Rgb(0, 0, 255));
    editor.SendEditorMessage(SCI_SETSELBACK, 1, Rgb(0, 0, 128));
    editor.SendEditorMessage(SCI_SETSELFORE, 1, Rgb(255, 255, 255));
    editor.SendEditorMessage(SCI_EMPTYUNDOBUFFER);
    editor.SendEditorMessage(SCI_SETTABWIDTH, 4);
    editor.SendEditorMessage(SCI_SETINDENTATIONGUIDES, SC_IV_REAL);
    editor.SendEditorMessage(SCI_STYLESETFORE, kStyleIndentGuide, Rgb(128, 128, 128));
    editor.SendEditorMessage(SCI_STYLESETBACK, kStyleIndentGuide, Rgb(255, 255, 255));
    editor.SendEditorMessage(SCI_SETMARGINWIDTHN, 1, 8);
    editor.SendEditorMessage(SCI_STYLESETFORE, kStyleLineNumber, Rgb(128, 128, 128));
    editor.SendEditorMessage(SCI_STYLESETBACK, kStyleLineNumber, Rgb(255, 255, 255));
}

void CreateJsonEditor(CodeEditor& editor, HWND parent, EditorEventHandler rightButtonUp) {
    ConfigureEditor(editor, parent, kJsonLexer);
    struct JsonStyle {
        int style;
        intptr_t colour;
        bool bold;
        bool underline;
    };
    // The JSON lexer's styles, in this order: 0 default, 7 block comment, 6 line comment,
    // 1 number, 4 property name, 2 string, 3 unterminated string, 8 operator, 9 URI,
    // 10 compact IRI, 11 keyword, 12 linked-data keyword, 5 escape sequence.
    static constexpr JsonStyle kStyles[] = {
        {0, Rgb(96, 96, 96), false, false}, {7, Rgb(68, 68, 68), true, false},   {6, Rgb(0, 128, 0), false, false},
        {1, Rgb(26, 1, 204), true, false},  {4, Rgb(0, 36, 98), false, false},   {2, Rgb(11, 117, 0), false, false},
        {3, Rgb(11, 117, 0), false, false}, {8, Rgb(68, 68, 68), false, false},  {9, Rgb(11, 117, 0), false, true},
        {10, Rgb(11, 117, 0), false, true}, {11, Rgb(26, 1, 204), false, false}, {12, Rgb(26, 1, 204), false, false},
        {5, Rgb(26, 1, 204), false, false},
    };
    for (const auto& s : kStyles) {
        editor.SendEditorMessage(SCI_STYLESETFORE, s.style, s.colour);
        if (s.bold) editor.SendEditorMessage(SCI_STYLESETBOLD, s.style, 1);
        if (s.underline) editor.SendEditorMessage(SCI_STYLESETUNDERLINE, s.style, 1);
    }
    editor.SetKeywords(0, "true false");
    editor.SetEventHandler(kEventRightButtonUp, std::move(rightButtonUp));
}

} // namespace vivu
