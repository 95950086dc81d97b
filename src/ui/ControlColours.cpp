// High contrast and the colour pairs of controls.
#include "ui/ControlColours.h"

namespace vivu {

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

ControlColours SystemColours(int textIndex, int backIndex) {
    return {GetSysColor(textIndex), GetSysColor(backIndex), GetSysColorBrush(backIndex)};
}

ControlColours DesignColours(COLORREF text, COLORREF back, HBRUSH brush, int textIndex, int backIndex) {
    if (HighContrastOn()) return SystemColours(textIndex, backIndex);
    return {text, back, brush};
}

ControlColours DarkGreyOnWhite() {
    return DesignColours(RGB(64, 64, 64), RGB(255, 255, 255), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
                         COLOR_WINDOWTEXT, COLOR_WINDOW);
}

LRESULT PaintWith(HDC dc, const ControlColours& colours) {
    SetTextColor(dc, colours.text);
    SetBkColor(dc, colours.back);
    return reinterpret_cast<LRESULT>(colours.brush);
}

} // namespace vivu
