// A 32-bit DIB section whose rows run from the top, as every off-screen picture here uses.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vivu {

// Null when it cannot be made; *bits then stays null too.
inline HBITMAP CreateTopDownDib(int width, int height, uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* raw = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
    *bits = bitmap ? static_cast<uint32_t*>(raw) : nullptr;
    return bitmap;
}

} // namespace vivu
