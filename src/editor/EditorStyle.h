// The one look of the program's JSON editors.
#pragma once

#include "editor/CodeEditor.h"

namespace vivu {

inline constexpr int kJsonLexer = 120;

// Creates the editor's windows over parent and applies the shared look.
void ConfigureEditor(CodeEditor& editor, HWND parent, int lexer);

// ConfigureEditor with the JSON lexer, then the JSON colours, the keywords
// "true false" and the handler for the right button's release (the menu).
void CreateJsonEditor(CodeEditor& editor, HWND parent, EditorEventHandler rightButtonUp);

} // namespace vivu
