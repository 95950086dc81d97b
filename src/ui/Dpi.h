// Dots per inch of windows and monitors, read through the functions the running Windows has.
#pragma once

#include <windows.h>

namespace vivu {

inline constexpr int kDesignDpi = 96;

// A length designed at 96 dots per inch, at dpi (rounded to nearest, as MulDiv does).
constexpr int ScaleToDpi(int length, int dpi) {
    const long long scaled = static_cast<long long>(length) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kDesignDpi / 2) / kDesignDpi
                                        : -((-scaled + kDesignDpi / 2) / kDesignDpi));
}

// The window's dpi (Windows 10 1607 on), else the system's.
int WindowDpi(HWND window);
// The dpi of the primary monitor as the program sees it.
int SystemDpi();
// GetSystemMetrics for a window at dpi (Windows 10 1607 on), else at the system's.
int SystemMetricForDpi(int index, int dpi);
// AdjustWindowRectEx with the frame of a window at dpi (Windows 10 1607 on), else at the system's.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

} // namespace vivu
