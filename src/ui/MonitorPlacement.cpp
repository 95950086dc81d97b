// Monitors asked for their rectangles.
#include "ui/MonitorPlacement.h"

#include <algorithm>
#include <climits>

namespace vivu {

namespace {

// A stored rectangle may hold any numbers; its right and bottom edges must not overflow.
LONG FarEdge(int start, int length) {
    return static_cast<LONG>(std::min<long long>(INT_MAX, static_cast<long long>(start) + length));
}

} // namespace

ScreenArea WorkAreaNear(const WindowRect& rect) {
    const RECT r{rect.left, rect.top, FarEdge(rect.left, rect.width), FarEdge(rect.top, rect.height)};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

POINT OnOwnersMonitor(HWND owner, POINT offset) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    // The primary monitor's top-left corner is 0, 0: there the offset is the position.
    if (!owner || !GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &info)) return offset;
    return {info.rcMonitor.left + offset.x, info.rcMonitor.top + offset.y};
}

} // namespace vivu
