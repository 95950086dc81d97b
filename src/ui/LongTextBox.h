// A multi-line text box that stays quick with very long lines.
#pragma once

#include <windows.h>

namespace vivu {

// Makes a Scintilla control (created by the caller, class "Scintilla") answer as a multi-line
// edit box does: WM_SETTEXT and WM_GETTEXT in UTF-16 (setting the text empties undo), WM_SETFONT
// and WM_GETFONT, the text and background colours its parent gives in WM_CTLCOLOREDIT, words
// wrapped, and a right-click menu of its own. Windows' edit box, as Wine implements it, measures
// the rest of a line again for every row it wraps to: a 64 KiB line took most of a minute.
void MakeLongTextBox(HWND scintilla);

} // namespace vivu
