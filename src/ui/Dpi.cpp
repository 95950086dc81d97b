// The dpi functions of Windows 10 are looked up at run time: the program also starts on older Windows.
#include "ui/Dpi.h"

#include <cstring>

namespace vivu {

namespace {

template <typename Function> Function User32Function(const char* name) {
    static_assert(sizeof(Function) == sizeof(FARPROC));
    Function function = nullptr;
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
        const FARPROC found = GetProcAddress(user32, name);
        memcpy(&function, &found, sizeof(function));
    }
    return function;
}

} // namespace

int SystemDpi() {
    using GetDpiForSystemFn = UINT(WINAPI*)();
    if (const auto get = User32Function<GetDpiForSystemFn>("GetDpiForSystem"))
        if (const UINT dpi = get()) return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    if (const auto get = User32Function<GetDpiForWindowFn>("GetDpiForWindow"))
        if (const UINT dpi = window ? get(window) : 0) return static_cast<int>(dpi);
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    using GetMetricFn = int(WINAPI*)(int, UINT);
    if (const auto get = User32Function<GetMetricFn>("GetSystemMetricsForDpi"))
        return get(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    if (const auto adjust = User32Function<AdjustFn>("AdjustWindowRectExForDpi"))
        if (adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

} // namespace vivu
