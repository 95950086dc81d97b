// The colours controls are painted in: the design's, or the system's in high contrast.
#pragma once

#include <windows.h>

namespace vivu {

// True while the user runs a high-contrast theme: then no colour of the design is used,
// only the system's, which the theme sets.
bool HighContrastOn();

// A control's text and background colours and the brush that paints its background.
struct ControlColours {
    COLORREF text;
    COLORREF back;
    HBRUSH brush;
};

// Both colours from the system, as a pair that belongs together (COLOR_BTNTEXT on
// COLOR_BTNFACE, COLOR_WINDOWTEXT on COLOR_WINDOW): the text shows in every theme.
ControlColours SystemColours(int textIndex, int backIndex);

// The design's colours (brush paints back; a stock brush or one the caller keeps), or in
// high contrast the system pair given by textIndex and backIndex in their place.
ControlColours DesignColours(COLORREF text, COLORREF back, HBRUSH brush, int textIndex, int backIndex);

// Dark grey (64, 64, 64) on white: the boxes that show a text to read.
ControlColours DarkGreyOnWhite();

// Puts the colours on the control's DC; the result is the answer to WM_CTLCOLOR*.
LRESULT PaintWith(HDC dc, const ControlColours& colours);

} // namespace vivu
