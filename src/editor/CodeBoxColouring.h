// Colouring the code box, a "RichEdit20W" control, from the code box tokenizer.
#pragma once

#include "editor/CodeBoxTokenizer.h"

#include <windows.h>

#include <string>

namespace vivu {

// The box's whole text as UTF-8, paragraph ends as CR LF: what TokenizeCodeBox counts on.
std::string CodeBoxText(HWND box);

// Selects the characters of format and gives them the code box's character format: face
// "YaHei Consolas Hybrid" (or its stand-in, AvailableFace), 9 points, offset 0, the format's
// colour (the theme's window text in high contrast) and bold flag, italic, underline,
// strikeout and protection off. Moves the selection; ColouriseCodeBox puts it back.
void FormatRange(HWND box, const CodeBoxFormat& format);

// Colours the whole box: its default format and all its text get the code box face in grey,
// not bold, then every format of TokenizeCodeBox(CodeBoxText(box)) is applied in order.
// Painting and the box's notifications are off meanwhile and the user's selection and scroll
// position are put back afterwards, so the run paints once, shows nothing but the colours and
// never sends the EN_CHANGE that would start it again.
//
// The main window calls it for the code box from the box's EN_CHANGE (WM_COMMAND from the
// box), so the box needs ENM_CHANGE in its event mask. Never throws: colouring is cosmetic,
// and a failure leaves the text in the default format.
void ColouriseCodeBox(HWND box) noexcept;

} // namespace vivu
