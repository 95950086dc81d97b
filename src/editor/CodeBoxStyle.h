// The code box's colours, as Windows COLORREF values (0x00BBGGRR).
#pragma once

#include <cstdint>

namespace vivu {

constexpr uint32_t Rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}

inline constexpr uint32_t kCodeBoxDefaultColour = Rgb(96, 96, 96);
// Separators, and in bold the directive words that open the text.
inline constexpr uint32_t kCodeBoxSeparatorColour = Rgb(68, 68, 68);
inline constexpr uint32_t kCodeBoxNumberColour = Rgb(26, 1, 204);
inline constexpr uint32_t kCodeBoxBooleanColour = Rgb(15, 0, 121);
inline constexpr uint32_t kCodeBoxWordColour = Rgb(0, 128, 128);
// Quoted text, both quotation marks included.
inline constexpr uint32_t kCodeBoxQuotedColour = Rgb(11, 117, 0);

} // namespace vivu
